#pragma once

#include <QString>

// What the teacher is told when libxlsxwriter fails, in Japanese (the library's own texts
// are English): libraryError is its lxw_error, systemError the error number of the file
// operation under it, or 0.
[[nodiscard]] QString xlsxReason(int libraryError, int systemError);
