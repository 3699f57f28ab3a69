// Starts a program, waits for the line "first paint" on its standard output, and prints the time
// from the start to that line in milliseconds and the program's peak resident memory in KiB:
//
//     startup_probe ./tarnwick        ->  "412.7 61234"
//
// The program must print the line itself and then exit; one that has not within 30 seconds is
// killed and the probe fails. Linux only (fork, exec, poll, wait4).
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_probe PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    int out[2];
    if (pipe(out) != 0)
        return 1;
    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    close(out[1]);

    // Read until the line appears; whatever else the program prints is ignored.
    double painted = -1;
    std::string line;
    char c;
    pollfd ready{out[0], POLLIN, 0};
    while (painted < 0 && poll(&ready, 1, 30000) == 1 && read(out[0], &c, 1) == 1) {
        if (c != '\n') {
            line += c;
            continue;
        }
        if (line == "first paint")
            painted = nowMs() - start;
        line.clear();
    }
    close(out[0]);
    if (painted < 0)
        kill(child, SIGKILL);

    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (painted < 0) {
        std::fprintf(stderr, "startup_probe: %s never reported its first paint\n", argv[1]);
        return 1;
    }
    std::printf("%.1f %ld\n", painted, usage.ru_maxrss);
    return 0;
}
