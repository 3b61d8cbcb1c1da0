// SPDX-License-Identifier: GPL-3.0-or-later
// Times a program's start up to the mapping of its first window: watches the X server for MapNotify on
// the root window's children, starts the program, and prints the milliseconds from the start to the first
// map of a window that carries the program's process id (_NET_WM_PID). Then ends the program, at once or
// after --linger milliseconds (time for the work a start does after its first frame, such as saving).
//   startup_map <timeout-ms> [--linger <ms>] <program> [arguments...]
// Run it on a display without a window manager, whose reparenting would hide the map from the root window.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

long WindowPid(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data != nullptr) {
        if (type == XA_CARDINAL && format == 32 && count == 1) {
            pid = static_cast<long>(*reinterpret_cast<const unsigned long*>(data));
        }
        XFree(data);
    }
    return pid;
}

} // namespace

int main(int argc, char** argv)
{
    const long timeoutMs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    long lingerMs = 0;
    int program = 2;
    if (argc > 3 && std::string(argv[2]) == "--linger") {
        lingerMs = std::strtol(argv[3], nullptr, 10);
        program = 4;
    }
    if (argc <= program) {
        std::fprintf(stderr, "usage: %s <timeout-ms> [--linger <ms>] <program> [arguments...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[program], argv + program);
        std::perror("exec");
        _exit(127);
    }

    int status = 1;
    const auto elapsedMs = [&] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    while (elapsedMs() < static_cast<double>(timeoutMs)) {
        if (XPending(display) == 0) {
            pollfd fd{ConnectionNumber(display), POLLIN, 0};
            poll(&fd, 1, 10);
            if (XPending(display) == 0) {
                continue;
            }
        }
        XEvent event{};
        XNextEvent(display, &event);
        if (event.type != MapNotify || event.xmap.override_redirect) {
            continue;
        }
        const double ms = elapsedMs();
        if (WindowPid(display, event.xmap.window) == static_cast<long>(child)) {
            std::printf("%.1f\n", ms);
            status = 0;
            break;
        }
    }
    if (status != 0) {
        std::fprintf(stderr, "no window mapped within %ld ms\n", timeoutMs);
    } else if (lingerMs > 0) {
        usleep(static_cast<useconds_t>(lingerMs) * 1000);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return status;
}
