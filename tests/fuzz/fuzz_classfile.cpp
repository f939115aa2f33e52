// libFuzzer target over the class file reader: arbitrary bytes, as a hand edit or a damaged
// disk might leave, are read. Whatever is accepted is written and read back to the same
// class, and from then on to the same class with the same kept keys and the same bytes. (The
// first write may change a kept key: Qt drops a byte order mark in front of a key inside a
// kept value.)

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

ClassBook withoutKeptKeys(ClassBook book)
{
    book.otherKeys = {};
    for (Pupil &pupil : book.pupils)
        pupil.otherKeys = {};
    return book;
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
    if (withoutKeptKeys(again.book) != withoutKeptKeys(read.book))
        fail("the class changed by writing and reading it");
    const QByteArray rewritten = classFileBytes(again.book);
    const ClassFileRead third = readClassFile(rewritten);
    if (!third.ok || third.book != again.book || classFileBytes(third.book) != rewritten)
        fail("writing and reading again changed the class or its bytes");
    return 0;
}
