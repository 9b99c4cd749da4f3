#pragma once

#include <QObject>

class QSocketNotifier;

namespace bitloom {

// Hands SIGTERM, as logout and shutdown send it, to the event loop: the
// handler only writes a byte to a socket pair, and the event loop reads it
// and emits terminationRequested(). Without it the process would end at
// once and lose whatever was not saved. One at a time per process; the
// previous handling comes back when it is destroyed.
class TerminationSignal : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

    // Whether the handler is in place (it is not when the socket pair or
    // the handler could not be set up; SIGTERM then ends the process).
    bool installed() const { return mInstalled; }

signals:
    void terminationRequested();

private:
    void receive();

    QSocketNotifier* mNotifier = nullptr;
    bool mInstalled = false;
};

} // namespace bitloom
