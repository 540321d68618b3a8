#include "tools/scripts_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/testing/temporary_folder.h"
#include "tools/tool_test_support.h"

namespace scenario {
namespace {

const std::string kLinea = "Zembrastina_Dervo_linea.txt";
const std::string kTreno = "Zembrastina_Dervo_47716-.txt";

TEST(ComandoScripts, WritesTheBuiltInScriptsUnderTheAuthorsNames) {
  CartellaTemporanea cartella;
  const Esecuzione predefiniti = strumento({"scripts", cartella.percorso()});
  ASSERT_EQ(predefiniti.stato, 0) << predefiniti.err;
  const Esecuzione nominati =
      strumento({"scripts", "--route", "Valle_Alta", "--train", "2201", cartella.file("nuovo")});
  ASSERT_EQ(nominati.stato, 0) << nominati.err;
  EXPECT_EQ(nominati.out, cartella.file("nuovo/Valle_Alta_linea.txt") + "\n" +
                              cartella.file("nuovo/Valle_Alta_2201-.txt") + "\n");
  // The same scripts, byte for byte, under other names.
  EXPECT_EQ(cartella.leggi("nuovo/Valle_Alta_linea.txt"), cartella.leggi(kLinea));
  EXPECT_EQ(cartella.leggi("nuovo/Valle_Alta_2201-.txt"), cartella.leggi(kTreno));
  // ... which check clean under those names: the scripts hold no name.
  const Esecuzione check = strumento(
      {"check", "--no-warn", "timetable-order", cartella.file("nuovo"), "Valle_Alta", "2201"});
  EXPECT_EQ(check.stato, 0) << check.out << check.err;
}

TEST(ComandoScripts, RefusesToReplaceAnExistingScriptWithoutForce) {
  struct Caso {
    std::string esistente;  ///< the script an author has already edited
  };
  for (const Caso& caso : {Caso{kLinea}, Caso{kTreno}}) {
    SCOPED_TRACE(caso.esistente);
    CartellaTemporanea cartella;
    cartella.scrivi(caso.esistente, "modificato\r\n");
    const Esecuzione rifiuto = strumento({"scripts", cartella.percorso()});
    EXPECT_EQ(rifiuto.stato, 2);
    EXPECT_NE(rifiuto.err.find(cartella.file(caso.esistente) + " already exists"),
              std::string::npos)
        << rifiuto.err;
    // Nothing written at all: neither the edited script nor its partner.
    EXPECT_EQ(cartella.leggi(caso.esistente), "modificato\r\n");
    EXPECT_EQ(cartella.voci().size(), 1u);

    const Esecuzione forzato = strumento({"scripts", "--force", cartella.percorso()});
    EXPECT_EQ(forzato.stato, 0) << forzato.err;
    EXPECT_NE(cartella.leggi(caso.esistente), "modificato\r\n");
    EXPECT_TRUE(cartella.esiste(kLinea) && cartella.esiste(kTreno));
  }
}

TEST(ComandoScripts, RefusesNamesThatCannotNameTheFiles) {
  struct Caso {
    std::vector<std::string> opzioni;
    const char* messaggio;
  };
  const Caso casi[] = {
      {{"--route", "a/b"}, "ROUTE 'a/b' contains '/'"},
      {{"--route", ""}, "ROUTE is empty"},
      {{"--train", "linea"}, "linea"},
      {{"--train", "7_linea"}, "linea"},
      {{"--route", std::string(250, 'r')}, "bytes long;"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.opzioni[1]);
    CartellaTemporanea cartella;
    std::vector<std::string> argomenti = {"scripts"};
    argomenti.insert(argomenti.end(), caso.opzioni.begin(), caso.opzioni.end());
    argomenti.push_back(cartella.percorso());
    const Esecuzione e = strumento(argomenti);
    EXPECT_EQ(e.stato, 2);
    EXPECT_NE(e.err.find(caso.messaggio), std::string::npos) << e.err;
    EXPECT_TRUE(cartella.voci().empty());
  }
}

}  // namespace
}  // namespace scenario
