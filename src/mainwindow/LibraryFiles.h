#pragma once

#include "DataFile.h"

#include <QStringList>

class Dialogs;

// What the teacher is told about a data file after loading it: nothing for a
// well-formed file, otherwise one paragraph per problem.
[[nodiscard]] QStringList describeLoadProblems(const QString &fileName, const LoadedFile &loaded, int recordsKeptAside);

// Writes one data file so that nothing the teacher had is lost: a file that could not
// be read is left alone, a file changed by another program since loading is only
// replaced when the teacher agrees, the start-up content is kept as a .bak before the
// first change, and the old file stays whole if writing fails. Returns the message for
// a failure, or an empty string.
[[nodiscard]] QString saveLibraryFile(const QString &fileName, const QByteArray &bytes, FileOrigin &origin,
                                      Dialogs &dialogs);
