#include "stopsignals.h"

#include <csignal>
#include <signal.h>

namespace wharf {
namespace {

// Written by the handler only (and cleared once the handlers are held
// back); a sig_atomic_t is what a handler may write.
volatile std::sig_atomic_t g_stopSignal = 0;

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handlers are this process's: only then does settling change them.
bool g_noting = false;

void noteSignal(int signal)
{
    if (g_stopSignal == 0)
        g_stopSignal = signal;
}

// A handler rather than SIG_IGN: an ignored signal stays ignored in the
// programs the compile starts (the project's batch step), a handler does not.
void ignorePipe(int) {}

} // namespace

void noteStopSignals()
{
    struct sigaction action {};
    action.sa_handler = &noteSignal;
    sigemptyset(&action.sa_mask);
    // Restarted calls keep the compiler's reads and writes whole; the
    // handler's reset lets a second signal end the process at once.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
    g_noting = true;

    struct sigaction pipe {};
    pipe.sa_handler = &ignorePipe;
    sigemptyset(&pipe.sa_mask);
    pipe.sa_flags = SA_RESTART;
    ::sigaction(SIGPIPE, &pipe, nullptr);
}

int stopSignal()
{
    return g_stopSignal;
}

void settleStopSignal(bool endedOnStop)
{
    if (!endedOnStop)
        g_stopSignal = 0;
    if (!g_noting)
        return;
    // Ignored process-wide, whichever thread a signal would reach; nothing
    // is started any more that could inherit it.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    for (const int signal : kStopSignals)
        ::sigaction(signal, &ignore, nullptr);
    // One that came while the handlers were changed did not stop the
    // compile either.
    if (!endedOnStop)
        g_stopSignal = 0;
}

void endByStopSignal()
{
    const int signal = g_stopSignal;
    if (signal == 0)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}

} // namespace wharf
