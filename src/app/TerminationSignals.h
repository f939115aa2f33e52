#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGHUP (logging out of the desktop, shutting down, a closed
// terminal) into a Qt signal delivered by the event loop, so that the window can close as
// a close does, saving the teacher's work, instead of the program simply ending.
// The usual Qt recipe: the handler only writes the signal's number into a socket pair,
// and a socket notifier reads it on the main thread. One object at a time; on systems
// without these signals it never emits.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override; // the default handling comes back

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
