#include "stopsignals.h"

#include <csignal>
#include <signal.h>

namespace wharf {
namespace {

// Written by the handler only; a sig_atomic_t is what a handler may write.
volatile std::sig_atomic_t g_stopSignal = 0;

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

void noteSignal(int signal)
{
    if (g_stopSignal == 0)
        g_stopSignal = signal;
}

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
}

int stopSignal()
{
    return g_stopSignal;
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
