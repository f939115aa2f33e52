#pragma once

// The system calls behind saving on Linux, one virtual function each, so that a test can
// make any of them fail as a full disk or a failing USB stick would. Only SafeSavePosix.cpp
// and tests include this.

#include "Reasons.h"

#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

class PosixCalls {
public:
    virtual ~PosixCalls() = default;
    virtual int makeTemporary(char *pattern) { return ::mkostemp(pattern, O_CLOEXEC); }
    virtual ssize_t write(int fd, const void *data, size_t size) { return ::write(fd, data, size); }
    virtual int fsync(int fd) { return ::fsync(fd); }
    virtual int close(int fd) { return ::close(fd); }
    virtual int rename(const char *from, const char *to) { return ::rename(from, to); }
    // Whether this program may write the file, as its effective user.
    virtual int access(const char *path, int mode) { return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS); }
    virtual int openFolder(const char *path) { return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC); }
    // Not blocking: opening a named pipe for reading would wait for a writer.
    virtual int openForReading(const char *path) { return ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }
};

// The calls in use: the system's, or those a test set (nullptr: the system's again).
PosixCalls &posixCalls();
void setPosixCalls(PosixCalls *calls);
