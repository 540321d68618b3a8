#include "documents/crew_documents.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "base/testing/text_lines.h"
#include "base/text_file_writer.h"

namespace scenario {
namespace {

const char kPercorso[] = "Zembrastina_Dervo";
const char kTreno[] = "47716";

/// The signature shared by the three document writers.
using Scrittore = bool (*)(FileSystem&, const std::string&, const std::string&, const std::string&,
                           std::string*);

/// One crew document: its file name, its writer and what it must hold.
struct Documento {
  const char* nome;
  Scrittore scrivi;
  std::size_t righe;
  std::size_t byte;  ///< 0 for the notes, whose credit block is checked apart.
};

const Documento kDocumenti[] = {
    {"note.txt", dati_note, 50, 0},
    {"rallentamenti.txt", dati_rallentamenti, 45, 3291},
    {"scheda_treno.txt", dati_scheda, 60, 4673},
};

/// A fresh folder under the system's temporary directory, removed with
/// everything in it when the test ends.
class CrewDocumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modello = (std::filesystem::temp_directory_path() / "crew_docs_XXXXXX").string();
    ASSERT_NE(mkdtemp(modello.data()), nullptr);
    cartella_ = modello;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(cartella_, ec);
  }

  /// Runs the writer of `doc` for the given route and train, then reads the
  /// file back.
  std::string Scrivi(const Documento& doc, const std::string& percorso = kPercorso,
                     const std::string& treno = kTreno) {
    std::string err;
    EXPECT_TRUE(doc.scrivi(fs_, cartella_, percorso, treno, &err)) << err;
    return Leggi(nome_documento(percorso, treno, doc.nome));
  }

  /// The bytes of file `nome` in the folder; empty when it cannot be read.
  std::string Leggi(const std::string& nome) {
    std::string testo, err;
    EXPECT_TRUE(fs_.ReadFile(percorso_in(cartella_, nome), &testo, &err)) << err;
    return testo;
  }

  RealFileSystem fs_;
  std::string cartella_;
};

/// Number of blanks at the end of `riga`.
std::size_t BianchiFinali(const std::string& riga) {
  const std::size_t ultimo = riga.find_last_not_of(' ');
  return ultimo == std::string::npos ? riga.size() : riga.size() - ultimo - 1;
}

TEST_F(CrewDocumentsTest, SizeAndLinesAreExact) {
  for (const Documento& doc : kDocumenti) {
    SCOPED_TRACE(doc.nome);
    const std::string testo = Scrivi(doc);
    const std::vector<std::string> righe = righe_crlf(testo);
    ASSERT_EQ(righe.size(), doc.righe);
    if (doc.byte != 0) {
      EXPECT_EQ(testo.size(), doc.byte);
    }
    EXPECT_EQ(testo.find(kFineDelFile), std::string::npos);
  }
}

TEST_F(CrewDocumentsTest, EachDocumentWhole) {
  // The expected documents, byte for byte, are kept under testdata/ by their
  // document names.
  for (const Documento& doc : kDocumenti) {
    SCOPED_TRACE(doc.nome);
    std::string atteso, err;
    ASSERT_TRUE(fs_.ReadFile(std::string(DOCUMENTS_TESTDATA_DIR) + "/" + doc.nome, &atteso, &err))
        << err;
    const std::string testo = Scrivi(doc);
    if (testo == atteso) continue;
    const std::vector<std::string> scritte = righe_crlf(testo);
    const std::vector<std::string> attese = righe_crlf(atteso);
    std::size_t n = 0;
    while (n < scritte.size() && n < attese.size() && scritte[n] == attese[n]) ++n;
    ADD_FAILURE() << "the document differs from line " << n + 1
                  << "\n  written:  " << (n < scritte.size() ? scritte[n] : "(no line)")
                  << "\n  expected: " << (n < attese.size() ? attese[n] : "(no line)");
  }
}

TEST_F(CrewDocumentsTest, NotesBodyAndCreditBlock) {
  const std::vector<std::string> righe = righe_crlf(Scrivi(kDocumenti[0]));
  ASSERT_EQ(righe.size(), 50u);
  std::size_t corpo = 0;
  for (std::size_t i = 0; i < 47; ++i) corpo += righe[i].size() + 2;
  EXPECT_EQ(corpo, 2690u);
  EXPECT_EQ(Leggi(nome_documento(kPercorso, kTreno, "note.txt")).size(),
            corpo + righe[47].size() + righe[48].size() + righe[49].size() + 6);
  EXPECT_EQ(righe[0], "Caratteristiche della linea ZEMBRASTINA-NOVARA-DERVO");
  EXPECT_EQ(righe[37], "Caratteristiche del treno 47716:");
  EXPECT_EQ(righe[45], "");
  EXPECT_EQ(righe[46], "");
  // The credit block: three lines of plain ASCII text, none of them empty.
  for (std::size_t i = 47; i < 50; ++i) {
    EXPECT_FALSE(righe[i].empty()) << i + 1;
    EXPECT_EQ(BianchiFinali(righe[i]), 0u) << i + 1;
    for (char c : righe[i]) EXPECT_LT(static_cast<std::uint8_t>(c), 0x80) << i + 1;
  }
}

TEST_F(CrewDocumentsTest, TrailingBlanksAreKept) {
  // Lines (counted from 1) that end in blanks; every other line ends in text
  // or is empty.
  struct Caso {
    const Documento* doc;
    std::vector<std::pair<std::size_t, std::size_t>> bianchi;  // line, blanks
  };
  const Caso casi[] = {
      {&kDocumenti[0], {{15, 1}, {28, 1}, {33, 1}}},
      {&kDocumenti[1], {}},
      {&kDocumenti[2], {{9, 7}, {28, 5}}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.doc->nome);
    const std::vector<std::string> righe = righe_crlf(Scrivi(*caso.doc));
    for (std::size_t n = 1; n <= righe.size(); ++n) {
      std::size_t attesi = 0;
      for (const auto& [riga, quanti] : caso.bianchi)
        if (riga == n) attesi = quanti;
      if (righe[n - 1].empty()) continue;
      EXPECT_EQ(BianchiFinali(righe[n - 1]), attesi) << "line " << n;
    }
  }
  // The two long lines of the sheet, with their blanks counted in.
  const std::vector<std::string> scheda = righe_crlf(Scrivi(kDocumenti[2]));
  EXPECT_EQ(scheda[8].size(), 64u);
  EXPECT_EQ(scheda[27].size(), 88u);
}

TEST_F(CrewDocumentsTest, DocumentsStartAndEndAsLaidOut) {
  const std::string regola =
      " |_____|_____|__________|_____|____________________________|________________|_____|";
  struct Caso {
    const Documento* doc;
    std::string inizio;
    std::string fine;
  };
  const Caso casi[] = {
      {&kDocumenti[0], "Caratteristiche della linea",
       "\r\n\r\n" + std::string(kNote[47]) + "\r\n" + std::string(kNote[48]) + "\r\n" +
           std::string(kNote[49]) + "\r\n"},
      {&kDocumenti[1], "\r\n                               Modulo M. 3\r\n",
       "\r\n     i giorni esclusi i seguenti:.........\r\n"},
      {&kDocumenti[2], "\r\n\r\n  ___", "\r\n" + regola + "\r\n\r\n"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.doc->nome);
    const std::string testo = Scrivi(*caso.doc);
    EXPECT_TRUE(testo.starts_with(caso.inizio));
    EXPECT_TRUE(testo.ends_with(caso.fine));
  }
  // The slowdown order's last line is text, not an empty line.
  EXPECT_FALSE(Scrivi(kDocumenti[1]).ends_with("\r\n\r\n"));
  EXPECT_FALSE(Scrivi(kDocumenti[2]).starts_with("\r\n\r\n\r\n"));
}

TEST_F(CrewDocumentsTest, SheetGridHasItsFrameBars) {
  const std::vector<std::string> righe = righe_crlf(Scrivi(kDocumenti[2]));
  ASSERT_EQ(righe.size(), 60u);
  const std::size_t sbarre[] = {2, 8, 14, 25, 31, 60, 77, 83};
  for (std::size_t n = 14; n <= 59; ++n) {
    const std::string& riga = righe[n - 1];
    ASSERT_GE(riga.size(), 83u) << "line " << n;
    for (std::size_t p : sbarre) {
      // Line 18 lacks the bar between the kilometre column and the next.
      const char atteso = (n == 18 && p == 25) ? ' ' : '|';
      EXPECT_EQ(riga[p - 1], atteso) << "line " << n << " position " << p;
    }
  }
  EXPECT_EQ(righe[17].substr(14, 16), "    68.300      ");
  EXPECT_EQ(righe[15], righe[58]);
  EXPECT_NE(righe[4].find("|   TRENO n.47716   |"), std::string::npos);
  for (std::size_t n = 29; n <= 58; ++n) EXPECT_EQ(righe[n - 1], righe[28]) << "line " << n;
}

TEST_F(CrewDocumentsTest, SlowdownKeyIsInOrderADC) {
  const std::vector<std::string> righe = righe_crlf(Scrivi(kDocumenti[1]));
  ASSERT_EQ(righe.size(), 45u);
  EXPECT_EQ(righe[39], "              Prescrizioni specifiche");
  const char* chiavi[] = {" A - ", " B - ", " D - ", " C - ", "     i giorni"};
  for (std::size_t k = 0; k < 5; ++k)
    EXPECT_TRUE(righe[40 + k].starts_with(chiavi[k])) << righe[40 + k];
  EXPECT_EQ(righe[11],
            " | 1 |BORGO TICINO                |     92     |    40    |   200   |     B      |");
}

TEST_F(CrewDocumentsTest, NonAsciiLettersAreSingleBytes) {
  const std::vector<std::string> righe = righe_crlf(Scrivi(kDocumenti[0]));
  ASSERT_EQ(righe.size(), 50u);
  EXPECT_EQ(righe[12], "Non \xE8 attiva la Ripetizione Segnali");
  EXPECT_EQ(righe[12].size(), 35u);
  EXPECT_NE(righe[14].find("velocit\xE0 a 60"), std::string::npos);
  // Across all three documents, the only bytes above 0x7F are 0xE8 and 0xE0,
  // and never two in a row: no UTF-8 sequence slipped in.
  for (const Documento& doc : kDocumenti) {
    SCOPED_TRACE(doc.nome);
    const std::string testo = Scrivi(doc);
    for (std::size_t i = 0; i < testo.size(); ++i) {
      const auto b = static_cast<std::uint8_t>(testo[i]);
      if (b < 0x80) continue;
      EXPECT_TRUE(b == 0xE8 || b == 0xE0) << "byte " << i;
      if (i + 1 < testo.size()) {
        EXPECT_LT(static_cast<std::uint8_t>(testo[i + 1]), 0x80) << "byte " << i + 1;
      }
    }
  }
}

TEST_F(CrewDocumentsTest, RouteAndTrainChangeOnlyTheFileName) {
  for (const Documento& doc : kDocumenti) {
    SCOPED_TRACE(doc.nome);
    const std::string altro = Scrivi(doc, "Altra_Linea", "12345");
    EXPECT_FALSE(
        fs_.IsRegularFile(percorso_in(cartella_, nome_documento(kPercorso, kTreno, doc.nome))));
    EXPECT_EQ(altro, Scrivi(doc));
    EXPECT_TRUE(
        fs_.IsRegularFile(percorso_in(cartella_, std::string("Altra_Linea_12345_") + doc.nome)));
  }
}

TEST_F(CrewDocumentsTest, EarlierFileIsReplacedWhole) {
  for (const Documento& doc : kDocumenti) {
    SCOPED_TRACE(doc.nome);
    const std::string percorso =
        percorso_in(cartella_, nome_documento(kPercorso, kTreno, doc.nome));
    for (std::size_t vecchio : {std::size_t{3}, std::size_t{10000}}) {
      std::string err;
      ASSERT_TRUE(ReplaceFile(fs_, percorso, std::string(vecchio, 'x'), &err)) << err;
      EXPECT_EQ(righe_crlf(Scrivi(doc)).size(), doc.righe);
    }
  }
}

TEST_F(CrewDocumentsTest, MissingFolderIsReported) {
  for (const Documento& doc : kDocumenti) {
    SCOPED_TRACE(doc.nome);
    std::string err;
    EXPECT_FALSE(doc.scrivi(fs_, cartella_ + "/manca", kPercorso, kTreno, &err));
    EXPECT_FALSE(err.empty());
  }
}

}  // namespace
}  // namespace scenario
