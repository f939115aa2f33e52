#include "TerminationSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
constexpr int handledSignals[] = {SIGTERM, SIGHUP};

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    // Nothing but write() is safe here; a full pipe already holds a request.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
    errno = savedErrno;
}

void handleWith(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : handledSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    ::fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    handleWith(onSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    handleWith(SIG_DFL);
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void TerminationSignals::readSignal()
{
    char byte = 0;
    if (::read(signalPipe[1], &byte, 1) == 1)
        Q_EMIT terminationRequested(int(byte));
}

#elif defined(Q_OS_WIN)

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace {

// Windows ends a session (logging off, shutting down, an update restarting the machine)
// by sending WM_ENDSESSION to every top-level window and ending the program as soon as the
// message returns: the window is closed, saving, before it returns.
class EndSessionFilter : public QAbstractNativeEventFilter {
public:
    explicit EndSessionFilter(TerminationSignals *owner) : m_owner(owner) {}
    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_ENDSESSION && msg->wParam && !m_done) {
            m_done = true; // once, though every top-level window gets the message
            Q_EMIT m_owner->terminationRequested(0);
        }
        return false;
    }

private:
    TerminationSignals *m_owner;
    bool m_done = false;
};

EndSessionFilter *filter = nullptr;

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (filter || !QCoreApplication::instance())
        return;
    filter = new EndSessionFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(filter);
}

TerminationSignals::~TerminationSignals()
{
    if (!filter)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(filter);
    delete filter;
    filter = nullptr;
}

void TerminationSignals::readSignal() {}

#else

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent) {}
TerminationSignals::~TerminationSignals() = default;
void TerminationSignals::readSignal() {}

#endif
