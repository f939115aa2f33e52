#pragma once

#include <QString>

// libxlsxwriter is loaded on the first .xlsx export, not linked: linked, it and what it needs
// (minizip, libcrypto) were loaded and relocated at every start of the program, 1.6 MiB of
// memory before the teacher ever opened a class. XlsxLibrary.cpp defines the library's
// functions the export calls, each forwarding to the library's own once it is loaded.

// Why the library could not be loaded (Japanese), else empty. Loads it if not done yet.
[[nodiscard]] QString xlsxLibraryProblem();
