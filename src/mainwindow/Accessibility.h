#pragma once

class QWidget;

// Gives every control of the main window a Japanese accessible name saying what it is for,
// and a description where it helps. Run once, when the window is complete.
void nameMainWindowControls(QWidget *form);
