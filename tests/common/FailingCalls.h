#pragma once

// The system calls behind saving and reading, with one of them failing as a full disk, a
// read-only folder or a file without permission makes it fail. Permissions are thus tested
// as root too (CI runs as root, and root passes every permission check).

#include "PosixCalls.h"

#include <QString>

#include <cerrno>
#include <functional>
#include <utility>

class FailingCalls : public PosixCalls {
public:
    // The call that fails ("create", "write", "fsync", "close", "rename", "access",
    // "open folder", "open for reading") and the error it sets; an empty step fails none.
    QString step;
    int error = 0;
    int opened = 0;                     // how often a file was opened for reading
    std::function<void()> duringWrite; // run once, during the next large write

    void failWith(const QString &failingStep, int errorNumber)
    {
        step = failingStep;
        error = errorNumber;
    }

    int makeTemporary(char *pattern) override { return fails("create") ? -1 : PosixCalls::makeTemporary(pattern); }
    ssize_t write(int fd, const void *data, size_t size) override
    {
        if (duringWrite && size > 100)
            std::exchange(duringWrite, nullptr)();
        // A full disk often takes part of the bytes before it refuses the rest.
        if (step == QLatin1String("write") && size > 4 && !m_partDone) {
            m_partDone = true;
            return PosixCalls::write(fd, data, 4);
        }
        return fails("write") ? -1 : PosixCalls::write(fd, data, size);
    }
    int fsync(int fd) override { return fails("fsync") ? -1 : PosixCalls::fsync(fd); }
    int close(int fd) override
    {
        // A close that reports an error has still closed the file.
        const int result = PosixCalls::close(fd);
        return fails("close") ? -1 : result;
    }
    int rename(const char *from, const char *to) override { return fails("rename") ? -1 : PosixCalls::rename(from, to); }
    int access(const char *path, int mode) override { return fails("access") ? -1 : PosixCalls::access(path, mode); }
    int openFolder(const char *path) override { return fails("open folder") ? -1 : PosixCalls::openFolder(path); }
    int openForReading(const char *path) override
    {
        ++opened;
        return fails("open for reading") ? -1 : PosixCalls::openForReading(path);
    }

private:
    bool fails(const char *name)
    {
        if (step != QLatin1String(name))
            return false;
        errno = error;
        return true;
    }
    bool m_partDone = false;
};

// Puts the calls in use for a scope, and the system's back after it.
struct CallsInUse {
    explicit CallsInUse(PosixCalls &calls) { setPosixCalls(&calls); }
    ~CallsInUse() { setPosixCalls(nullptr); }
    CallsInUse(const CallsInUse &) = delete;
    CallsInUse &operator=(const CallsInUse &) = delete;
};
