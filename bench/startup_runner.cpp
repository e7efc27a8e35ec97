// Starts each given program again and again, in alternating order, and
// prints the median, the least and the most of the times they report from
// process start to their first painted frame and to each step before it, and
// the ratio of each program to each one before it, taken round by round so
// both sides of a ratio see the same load on the machine.
//
//   startup_runner <runs> <name>=<program> <name>=<program> ...
//
// Output, tab-separated, times in ms:
//   <name>          median min max ms      (first frame)
//   <name>.<step>   median min max ms      (each step the program marked)
//   <name>/<name>   median min max ratio   (first frames, round by round)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Steps = std::vector<std::pair<std::string, double>>;  // step, ms; the last is "frame"

struct Program {
    std::string name, path;
    std::vector<std::string> steps;               // in the order the program marks them
    std::vector<std::vector<double>> stepMs;      // per step, one time per run
    std::vector<double> frameMs;
};

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// One start; false unless the program exited normally after marking its
// first frame.
bool RunOnce(const Program& program, Steps& steps)
{
    int out[2];
    if (pipe(out) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "NIMBO_BENCH_T0_NS=", 18) != 0)
            env.emplace_back(*e);
    env.emplace_back();  // the stamp, written just before the spawn
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
    char buffer[256];
    for (ssize_t got; spawned == 0 && (got = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;

    steps.clear();
    std::istringstream lines(text);
    std::string step;
    long long ns = 0;
    while (lines >> step >> ns)
        steps.emplace_back(step, static_cast<double>(ns) / 1e6);
    return !steps.empty() && steps.back().first == "frame";
}

bool Record(Program& p, const Steps& steps)
{
    if (p.steps.empty()) {
        for (const auto& [step, ms] : steps)
            p.steps.push_back(step);
        p.stepMs.resize(p.steps.size());
    }
    if (steps.size() != p.steps.size())
        return false;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].first != p.steps[i])
            return false;
        p.stepMs[i].push_back(steps[i].second);
    }
    p.frameMs.push_back(steps.back().second);
    return true;
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

void Print(const std::string& name, const std::vector<double>& values, const char* unit)
{
    const Spread s = SpreadOf(values);
    std::printf("%s\t%.3f\t%.3f\t%.3f\t%s\n", name.c_str(), s.median, s.min, s.max, unit);
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
        programs.push_back({std::string(argv[i], static_cast<std::size_t>(eq - argv[i])), eq + 1, {}, {}, {}});
    }

    // One start each first, unmeasured: it brings the libraries into the
    // page cache, as a desktop that has run any Qt program before has them.
    Steps steps;
    for (Program& p : programs)
        if (!RunOnce(p, steps)) {
            std::fprintf(stderr, "%s did not report its first frame\n", p.path.c_str());
            return 1;
        }
    for (int round = 0; round < runs; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            // Forward in even rounds, backward in odd ones.
            Program& p = programs[round % 2 ? programs.size() - 1 - i : i];
            if (!RunOnce(p, steps) || !Record(p, steps)) {
                std::fprintf(stderr, "%s did not report its steps and first frame\n", p.path.c_str());
                return 1;
            }
        }
    }

    for (const Program& p : programs) {
        Print(p.name, p.frameMs, "ms");
        for (std::size_t i = 0; i < p.steps.size(); ++i)
            Print(p.name + "." + p.steps[i], p.stepMs[i], "ms");
    }
    for (std::size_t i = 1; i < programs.size(); ++i)
        for (std::size_t j = 0; j < i; ++j) {
            std::vector<double> ratios;
            for (std::size_t round = 0; round < programs[i].frameMs.size(); ++round)
                ratios.push_back(programs[i].frameMs[round] / programs[j].frameMs[round]);
            Print(programs[i].name + "/" + programs[j].name, ratios, "ratio");
        }
    return 0;
}
