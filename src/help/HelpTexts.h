#pragma once

#include <QString>

// The fixed texts of the help window and the about box, kept in one place.
// Pages are numbered as the help window counts its screens: 1 to 4, and 5 for "６　その他".

inline constexpr int HelpPageCount = 5;

// Title shown in LabelBase on the contents screen.
QString helpContentsTitle();
// Greeting shown in the light-yellow box on the contents screen.
QString helpGreeting();
// Caption of the contents entry leading to a page (1 to 5); null for any other number.
QString helpEntryCaption(int page);
// Whole text of a page (1 to 5); null for any other number.
QString helpPageText(int page);

// The maker's contact address shown in the about box.
QString aboutContactAddress();
// The about-box message, six lines each ending in a line break.
QString aboutMessage(const QString &contactAddress = aboutContactAddress());
