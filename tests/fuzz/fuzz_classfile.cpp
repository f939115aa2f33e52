// libFuzzer target over the class file reader: arbitrary bytes, as a hand edit or a damaged
// disk might leave, are read. Whatever is accepted is written and read back to the same
// class, keys this version does not know included, and writing it again gives the same bytes.

#include "ClassFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_classfile: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const ClassFileRead read = readClassFile(bytes);
    if (!read.ok) {
        if (read.error.isEmpty())
            fail("refused without a reason");
        return 0;
    }
    const QByteArray written = classFileBytes(read.book);
    const ClassFileRead again = readClassFile(written);
    if (!again.ok)
        fail("what was written cannot be read");
    if (again.book != read.book)
        fail("the class changed by writing and reading it");
    if (classFileBytes(again.book) != written)
        fail("writing again gave other bytes");
    return 0;
}
