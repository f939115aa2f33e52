#pragma once

class ClassWindow;

// Adds to the class window what keeps the term's observations at hand: the メモ pane beside
// the editor, the quick entry of notes, the search through the class, and, in the status bar,
// who of the class already has the example the main window shows (menu "メモ").
void addNotes(ClassWindow *window);
