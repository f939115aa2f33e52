#pragma once

#include <functional>

class CategoryPage;
class Dialogs;

// Adding, correcting and deleting the examples of one category: the category decides,
// these show its answer. Each refuses, with a message, whatever would change an example
// the teacher cannot see or store a text the data file cannot hold.

// Adds the lists' texts and the example box as a new example at the end of the category,
// rebuilds every category's lists (refillAll) and narrows this one to the new example.
// Returns false when it refused.
bool addExample(CategoryPage &page, Dialogs &dialogs, const std::function<void()> &refillAll);

// Replaces the sentence of the example selected in the example list.
bool correctExample(CategoryPage &page, Dialogs &dialogs);

// Deletes the selected example after a confirmation and shows the one before it.
// Returns the record shown afterwards, or 0 when nothing was deleted.
int deleteExample(CategoryPage &page, Dialogs &dialogs);
