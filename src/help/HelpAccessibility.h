#pragma once

class QWidget;

// Gives every label of the help window a Japanese accessible name and description; the
// labels that act as links are announced as links that can be pressed. Run once, when the
// window is complete.
void nameHelpWindowControls(QWidget *help);
