#include "terminationsignal.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bitloom {

namespace {

int gSockets[2] = {-1, -1}; // [0] written by the handler, [1] read by the loop
struct sigaction gPrevious {};

extern "C" void onTerminate(int)
{
    // Only async-signal-safe calls here.
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSockets[0], &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent)
{
    if (gSockets[0] >= 0)
        return; // another one is installed
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSockets) != 0) {
        gSockets[0] = gSockets[1] = -1;
        return;
    }
    // A full socket must never block the handler: one byte waiting is enough.
    ::fcntl(gSockets[0], F_SETFL, ::fcntl(gSockets[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(gSockets[1], F_SETFL, ::fcntl(gSockets[1], F_GETFL) | O_NONBLOCK);

    mNotifier = new QSocketNotifier(gSockets[1], QSocketNotifier::Read, this);
    connect(mNotifier, &QSocketNotifier::activated, this, &TerminationSignal::receive);

    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    mInstalled = ::sigaction(SIGTERM, &action, &gPrevious) == 0;
    if (!mInstalled) {
        delete mNotifier;
        mNotifier = nullptr;
        ::close(gSockets[0]);
        ::close(gSockets[1]);
        gSockets[0] = gSockets[1] = -1;
    }
}

TerminationSignal::~TerminationSignal()
{
    if (!mInstalled)
        return;
    ::sigaction(SIGTERM, &gPrevious, nullptr);
    delete mNotifier;
    ::close(gSockets[0]);
    ::close(gSockets[1]);
    gSockets[0] = gSockets[1] = -1;
}

void TerminationSignal::receive()
{
    char bytes[16];
    while (::read(gSockets[1], bytes, sizeof bytes) > 0) {
    }
    emit terminationRequested();
}

} // namespace bitloom
