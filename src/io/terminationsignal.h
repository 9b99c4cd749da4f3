#pragma once

#include <QObject>

class QSocketNotifier;

namespace bitloom {

// Hands the signals that ask a program to end to the event loop: SIGTERM
// (logout, shutdown, kill), SIGHUP (the terminal closed), SIGINT (Ctrl+C)
// and SIGQUIT (Ctrl+\). The handler only writes a byte to a socket pair, and
// the event loop reads it and emits terminationRequested(). Without it the
// process would end at once and lose whatever was not saved. A signal that
// was ignored when the program started (nohup, a background job of a
// script) stays ignored. One at a time per process; the previous handling
// comes back when it is destroyed.
class TerminationSignal : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

    // Whether the handler is in place (it is not when the socket pair or
    // the handler could not be set up; the signals then end the process).
    bool installed() const { return mInstalled; }

signals:
    void terminationRequested();

private:
    void receive();

    QSocketNotifier* mNotifier = nullptr;
    bool mInstalled = false;
};

} // namespace bitloom
