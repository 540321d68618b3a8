// time_runs: runs a command several times and prints the median wall time
// and the largest peak memory of its runs, so that whole processes can be
// timed without tools beyond the C library.
//
//   time_runs RUNS [--all] [--before SHELL_COMMAND] -- PROGRAM [ARGS...]
//
// The optional shell command runs before every run, untimed (for instance to
// empty the output folder). The program's standard output and error go to
// /dev/null. Prints one line: "median_ms min_ms max_ms peak_kib"; with --all,
// one line "ms peak_kib" per run instead, for a caller that pools runs.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

/// Wall time of one run and its peak resident memory.
struct Misura {
  double millisecondi = 0;
  long picco_kib = 0;
};

double adesso_ms() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

/// Runs `/bin/sh -c comando` and waits for it; false when it failed.
bool esegui_shell(const char* comando) {
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", comando, static_cast<char*>(nullptr));
    _exit(127);
  }
  int stato = 0;
  if (waitpid(pid, &stato, 0) < 0) return false;
  return WIFEXITED(stato) && WEXITSTATUS(stato) == 0;
}

/// Runs `argv` once with its output silenced; false when it could not be
/// started or did not exit with status 0.
bool esegui_una_volta(char** argv, Misura* m) {
  const double inizio = adesso_ms();
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    const int nulla = open("/dev/null", O_WRONLY);
    if (nulla >= 0) {
      dup2(nulla, STDOUT_FILENO);
      dup2(nulla, STDERR_FILENO);
    }
    execvp(argv[0], argv);
    _exit(127);
  }
  int stato = 0;
  rusage uso;
  if (wait4(pid, &stato, 0, &uso) < 0) return false;
  m->millisecondi = adesso_ms() - inizio;
  m->picco_kib = uso.ru_maxrss;
  return WIFEXITED(stato) && WEXITSTATUS(stato) == 0;
}

int uso() {
  std::fputs("usage: time_runs RUNS [--all] [--before SHELL_COMMAND] -- PROGRAM [ARGS...]\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return uso();
  const int volte = std::atoi(argv[1]);
  if (volte < 1) return uso();
  const char* prima = nullptr;
  bool tutte = false;
  int a = 2;
  if (std::strcmp(argv[a], "--all") == 0) {
    tutte = true;
    ++a;
  }
  if (a < argc && std::strcmp(argv[a], "--before") == 0) {
    if (a + 1 >= argc) return uso();
    prima = argv[a + 1];
    a += 2;
  }
  if (a >= argc || std::strcmp(argv[a], "--") != 0 || a + 1 >= argc) return uso();
  char** comando = argv + a + 1;

  std::vector<double> tempi;
  long picco = 0;
  for (int v = 0; v < volte; ++v) {
    if (prima && !esegui_shell(prima)) {
      std::fprintf(stderr, "time_runs: the command before the run failed: %s\n", prima);
      return 1;
    }
    Misura m;
    if (!esegui_una_volta(comando, &m)) {
      std::fprintf(stderr, "time_runs: %s failed\n", comando[0]);
      return 1;
    }
    tempi.push_back(m.millisecondi);
    picco = std::max(picco, m.picco_kib);
    if (tutte) std::printf("%.3f %ld\n", m.millisecondi, m.picco_kib);
  }
  if (tutte) return 0;
  std::sort(tempi.begin(), tempi.end());
  const std::size_t n = tempi.size();
  const double mediana = n % 2 == 1 ? tempi[n / 2] : (tempi[n / 2 - 1] + tempi[n / 2]) / 2;
  std::printf("%.3f %.3f %.3f %ld\n", mediana, tempi.front(), tempi.back(), picco);
  return 0;
}
