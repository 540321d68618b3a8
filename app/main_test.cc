// The program as a process: several runs at once in one folder, and a run
// under a file-size limit with the signal's default action.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/testing/temporary_folder.h"

extern char** environ;

namespace scenario {
namespace {

/// The six files a run leaves, and the two scripts it writes and deletes.
const std::vector<std::string> kUscite = {
    "Zembrastina_Dervo_47716_note.txt",
    "Zembrastina_Dervo_47716_rallentamenti.txt",
    "Zembrastina_Dervo_47716_scheda_treno.txt",
    "Zembrastina_Dervo_linea.dat",
    "Zembrastina_Dervo_47716.sim",
    "Zembrastina_Dervo_47716.dat",
};
const std::vector<std::string> kScript = {"Zembrastina_Dervo_linea.txt",
                                          "Zembrastina_Dervo_47716-.txt"};

/// Bytes of an older file of that name: recognisable, not what a run writes.
std::string vecchio(const std::string& nome) {
  return "older " + nome;
}

/// A copy of the program in `cartella`, which a run writes into.
std::string copia_programma(const CartellaTemporanea& cartella) {
  const std::string programma = cartella.file("genera_scenario");
  std::filesystem::copy_file(GENERA_SCENARIO_PATH, programma);
  return programma;
}

/// Starts `programma` without a display, its standard error going to file
/// `errori`, under a file-size limit of `limite` bytes when given, with the
/// default action of SIGXFSZ. Returns its process id.
pid_t avvia_processo(const std::string& programma, const std::string& errori,
                     std::optional<rlim_t> limite = std::nullopt) {
  std::vector<char*> ambiente;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "DISPLAY=", 8) != 0) ambiente.push_back(*e);
  }
  ambiente.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  const int nulla = ::open("/dev/null", O_WRONLY);
  const int errore = ::open(errori.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (nulla < 0 || errore < 0 || ::dup2(nulla, 1) < 0 || ::dup2(errore, 2) < 0) ::_exit(120);
  ::signal(SIGXFSZ, SIG_DFL);
  if (limite) {
    const rlimit r{*limite, *limite};
    if (::setrlimit(RLIMIT_FSIZE, &r) != 0) ::_exit(121);
  }
  char* argomenti[] = {const_cast<char*>(programma.c_str()), nullptr};
  ::execve(programma.c_str(), argomenti, ambiente.data());
  ::_exit(122);
}

/// Waits for process `pid`; its exit status, or -signal when a signal ended it.
int attendi(pid_t pid) {
  int stato = 0;
  if (::waitpid(pid, &stato, 0) != pid) return -1000;
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -WTERMSIG(stato);
}

/// True once process `pid` has ended (it is still there to wait for).
bool finito(pid_t pid) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid;
}

TEST(GeneraScenario, RunsAtOnceInOneFolderTakeTurnsAndLeaveOneWholeSet) {
  // What a lone run writes.
  CartellaTemporanea sola;
  CartellaTemporanea errori;
  ASSERT_EQ(attendi(avvia_processo(copia_programma(sola), errori.file("sola"))), 0);
  std::map<std::string, std::string> nuovo;
  for (const std::string& nome : kUscite) nuovo[nome] = sola.leggi(nome);

  CartellaTemporanea cartella;
  const std::string programma = copia_programma(cartella);
  for (const std::string& nome : kUscite) cartella.scrivi(nome, vecchio(nome));
  constexpr int kRuns = 4;
  std::vector<pid_t> runs;
  for (int r = 0; r < kRuns; ++r) {
    runs.push_back(avvia_processo(programma, errori.file(std::to_string(r))));
    ASSERT_GT(runs.back(), 0);
  }

  // Every file, whenever it is read, is the whole older one or the whole
  // new one, never missing and never a part.
  int letture = 0;
  int parziali = 0;
  for (bool finiti = false; !finiti;) {
    finiti = true;
    for (pid_t pid : runs) finiti = finiti && finito(pid);
    for (const std::string& nome : kUscite) {
      const std::string letto = cartella.leggi(nome);
      ++letture;
      if (letto != vecchio(nome) && letto != nuovo[nome] && ++parziali <= 3) {
        ADD_FAILURE() << nome << ": " << letto.size() << " bytes";
      }
    }
  }
  EXPECT_EQ(parziali, 0) << "of " << letture << " reads";

  for (int r = 0; r < kRuns; ++r) {
    EXPECT_EQ(attendi(runs[r]), 0) << "run " << r;
    // A run that had to wait long enough says so after "Attendere".
    const std::string detto = errori.leggi(std::to_string(r));
    EXPECT_TRUE(detto == "Attendere\n" ||
                detto == "Attendere\ngenera_scenario: waiting for another run in " +
                             cartella.percorso() + "\n")
        << detto;
  }
  for (const std::string& nome : kUscite) EXPECT_EQ(cartella.leggi(nome), nuovo[nome]) << nome;
  std::set<std::string> attese(kUscite.begin(), kUscite.end());
  attese.insert("genera_scenario");
  EXPECT_EQ(cartella.voci(), attese);
}

TEST(GeneraScenario, AFileSizeLimitIsAWriteErrorThatLeavesNothingBehind) {
  const struct {
    rlim_t limite;
    const char* fallito;  ///< the file whose writing passes the limit
    std::size_t intatti;  ///< the last outputs, from this index of kUscite, stay older
  } casi[] = {
      {1000, "Zembrastina_Dervo_linea.txt", 0},
      {100000, "Zembrastina_Dervo_linea.dat", 3},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.fallito);
    CartellaTemporanea cartella;
    CartellaTemporanea errori;
    const std::string programma = copia_programma(cartella);
    for (const std::string& nome : kUscite) cartella.scrivi(nome, vecchio(nome));

    EXPECT_EQ(attendi(avvia_processo(programma, errori.file("e"), caso.limite)), 2);
    EXPECT_EQ(errori.leggi("e"), "Attendere\ngenera_scenario: cannot write " +
                                     cartella.file(caso.fallito) + ": File too large\n");
    for (std::size_t f = caso.intatti; f < kUscite.size(); ++f) {
      EXPECT_EQ(cartella.leggi(kUscite[f]), vecchio(kUscite[f])) << kUscite[f];
    }
    // No temporary and no script left.
    for (const std::string& nome : cartella.voci()) {
      EXPECT_TRUE(nome == "genera_scenario" ||
                  std::find(kUscite.begin(), kUscite.end(), nome) != kUscite.end())
          << nome;
    }
  }
}

}  // namespace
}  // namespace scenario
