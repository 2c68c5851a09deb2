// Runs a command several times and prints the best wall time, the best CPU time (user +
// system, from the kernel's accounting of the child) and the largest peak memory, as
// "WALL_SECONDS CPU_SECONDS PEAK_KIB". Output of the command is discarded.
// usage: pixels_bench_time RUNS COMMAND [ARGS...]

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pixels_bench_time RUNS COMMAND [ARGS...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    double bestWall = 1e30, bestCpu = 1e30;
    long peak = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execvp(argv[2], argv + 2);
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (child < 0 || wait4(child, &status, 0, &usage) < 0)
            return 1;
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "pixels_bench_time: %s failed\n", argv[2]);
            return 1;
        }
        const double cpu =
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        bestWall = wall < bestWall ? wall : bestWall;
        bestCpu = cpu < bestCpu ? cpu : bestCpu;
        peak = usage.ru_maxrss > peak ? usage.ru_maxrss : peak;
    }
    std::printf("%.4f %.4f %ld\n", bestWall, bestCpu, peak);
    return 0;
}
