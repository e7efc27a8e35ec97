// Starts each given program again and again, in alternating order, and
// prints the median, the least and the most of the times they report from
// process start to their first painted frame, and the ratio of each program
// to each one before it, taken round by round so both sides of a ratio see
// the same load on the machine.
//
//   startup_runner <runs> <name>=<program> <name>=<program> ...
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Program {
    std::string name, path;
    std::vector<double> ms;
};

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// One start; the time the program reported, in ms, or a negative number.
double RunOnce(const Program& program)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "NIMBO_BENCH_T0_NS=", 18) != 0)
            env.emplace_back(*e);
    env.emplace_back();  // the stamp, filled in last
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.path.c_str()), nullptr};

    env.back() = "NIMBO_BENCH_T0_NS=" + std::to_string(MonotonicNs());
    envp[env.size() - 1] = env.back().data();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[64];
    for (ssize_t got; spawned == 0 && (got = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        text.empty())
        return -1;
    return std::strtod(text.c_str(), nullptr) / 1e6;
}

struct Spread {
    double median, min, max;
};

Spread SpreadOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {median, v.front(), v.back()};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <runs> <name>=<program> ...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        if (!eq) {
            std::fprintf(stderr, "not <name>=<program>: %s\n", argv[i]);
            return 2;
        }
        programs.push_back({std::string(argv[i], static_cast<std::size_t>(eq - argv[i])), eq + 1, {}});
    }

    // One start each first, unmeasured: it brings the libraries into the
    // page cache, as a desktop that has run any Qt program before has them.
    for (Program& p : programs)
        if (RunOnce(p) < 0) {
            std::fprintf(stderr, "%s did not report its first frame\n", p.path.c_str());
            return 1;
        }
    for (int round = 0; round < runs; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            // Forward in even rounds, backward in odd ones.
            Program& p = programs[round % 2 ? programs.size() - 1 - i : i];
            const double ms = RunOnce(p);
            if (ms < 0) {
                std::fprintf(stderr, "%s did not report its first frame\n", p.path.c_str());
                return 1;
            }
            p.ms.push_back(ms);
        }
    }

    // name  median  min  max  (ms), then the ratios.
    for (const Program& p : programs) {
        const Spread s = SpreadOf(p.ms);
        std::printf("%s\t%.2f\t%.2f\t%.2f\tms\n", p.name.c_str(), s.median, s.min, s.max);
    }
    for (std::size_t i = 1; i < programs.size(); ++i)
        for (std::size_t j = 0; j < i; ++j) {
            std::vector<double> ratios;
            for (std::size_t round = 0; round < programs[i].ms.size(); ++round)
                ratios.push_back(programs[i].ms[round] / programs[j].ms[round]);
            const Spread s = SpreadOf(ratios);
            std::printf("%s/%s\t%.3f\t%.3f\t%.3f\tratio\n", programs[i].name.c_str(), programs[j].name.c_str(),
                        s.median, s.min, s.max);
        }
    return 0;
}
