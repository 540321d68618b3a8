#include "tools/script_writer.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace scenario {

namespace {

/// Builds a script line by line, each line ended by CR LF.
class Testo {
 public:
  /// Appends one line.
  void riga(std::string_view r) {
    testo_.append(r);
    testo_.append("\r\n");
  }
  /// The lines of `intestazione`, made unable to open a section.
  void intestazione(const std::vector<std::string>& righe) {
    for (std::string r : righe) {
      for (char& c : r) {
        if (c == '[') c = '(';
        if (c == ']') c = ')';
        if (c == '\r' || c == '\n') c = ' ';
      }
      riga(r);
    }
  }
  std::string finito() { return std::move(testo_); }

 private:
  std::string testo_;
};

/// `v` right-aligned in `larghezza` characters (wider when it needs more).
std::string a_destra(std::int64_t v, int larghezza) {
  char b[32];
  std::snprintf(b, sizeof b, "%*lld", larghezza, static_cast<long long>(v));
  return b;
}

std::string n(std::int64_t v) {
  return std::to_string(v);
}

/// A board speed of the second group: left empty when 0, as the built-in
/// script writes them.
std::string vuoto_se_zero(std::int32_t v) {
  return v == 0 ? "" : n(v);
}

void generale_linea(const GeneraleLinea& g, Testo& t) {
  static constexpr std::string_view kNumeri[3] = {"uno", "due", "tre"};
  t.riga("[generale]");
  t.riga("lunghezza percorso,    " + n(g.lunghezza));
  for (int i = 0; i < 3; ++i) {
    const RecordProgressiva& p = g.progressive[static_cast<std::size_t>(i)];
    t.riga("progressiva chilometrica " + std::string(kNumeri[i]) + ",    " + n(p.inizio) + ",    " +
           n(p.fine) + ",    " + n(p.posizione));
  }
  for (int i = 0; i < 3; ++i) {
    t.riga("sfondo " + std::string(kNumeri[i]) + ",    " +
           n(g.sfondi[static_cast<std::size_t>(i)]));
  }
  t.riga("ripetizione segnali " + n(g.ripetizione_codici) + " codici,    " +
         n(g.ripetizione_inizio) + "    ," + n(g.ripetizione_fine));
}

}  // namespace

std::string testo_script_linea(const ScenarioDecompilato& s,
                               const std::vector<std::string>& intestazione) {
  Testo t;
  t.intestazione(intestazione);
  generale_linea(s.generale, t);
  t.riga("[curve]");
  for (const RecordCurva& c : s.curve) {
    t.riga(std::string("curva") + (c.sinistra ? "s" : "d") + n(c.classe) + ",  " + n(c.inizio) +
           ",  " + n(c.lunghezza));
  }
  t.riga("[pendenze]");
  for (const RecordProfilo& p : s.pendenze) {
    t.riga("pendenza,  " + n(p.posizione) + ",   " + n(p.valore));
  }
  t.riga("[montagne]");
  for (const RecordMontagna& m : s.montagne) {
    if (m.separatore) t.riga("- a section of no length: the next one keeps its own type");
    t.riga("montagna,   " + n(m.inizio) + ",  " + n(m.fine) + ",  " + n(m.tipo));
  }
  t.riga("[cartelli]");
  for (const RecordIndicatori& i : s.indicatori) {
    t.riga("indicatori_vmax,  " + n(i.posizione) + ",  " + n(i.vas) + ",  " + n(i.vbs) + ",  " +
           n(i.vcs) + ",  " + n(i.strisces) + ",  " + vuoto_se_zero(i.vad) + ",  " +
           vuoto_se_zero(i.vbd) + ",  " + vuoto_se_zero(i.vcd) + ",  " + n(i.strisced));
  }
  t.riga("[indicazioni]");
  for (const RecordCartello& c : s.cartelli) {
    t.riga("cartello_indicatore,  " + n(c.posizione) + "," + (c.testo.empty() ? "" : "   ") +
           c.testo);
  }
  t.riga("[fine]");
  return t.finito();
}

std::string testo_script_treno(const ScenarioDecompilato& s,
                               const std::vector<std::string>& intestazione) {
  Testo t;
  t.intestazione(intestazione);
  t.riga("[generale]");
  t.riga("numero vetture,    " + n(s.vetture));
  t.riga("percentuale massa frenata,    " + n(s.massa_frenata));
  t.riga("sabbia,    " + n(s.sabbia));
  // The clock's three numbers stand apart by blanks, not commas.
  t.riga("orologio,    " + n(s.orologio[0]) + std::string(14, ' ') + n(s.orologio[1]) +
         std::string(12, ' ') + n(s.orologio[2]) + " ");
  t.riga("[aderenze]");
  for (const RecordProfilo& a : s.aderenze) {
    t.riga("aderenza,   " + n(a.posizione) + ",    " + n(a.valore));
  }
  t.riga("[vel_limite]");
  for (const RecordProfilo& v : s.velocita) {
    t.riga("velocita," + a_destra(v.posizione, 8) + "," + a_destra(v.valore, 6));
  }
  t.riga("[stazioni]");
  for (const RecordStazione& z : s.stazioni) {
    t.riga("stazione," + a_destra(z.posizione, 8) + "," + a_destra(z.tipo, 3) + "," +
           a_destra(z.lunghezza, 5) + "," + a_destra(z.opzione, 3) + "," + a_destra(z.flag4, 2) +
           "," + a_destra(z.flag3, 2) + "," + a_destra(z.valore1, 3) + "," + n(z.valore2) + "," +
           n(z.flag1) + "," + a_destra(z.valore3, 3) + "," + n(z.valore4) + "," + n(z.valore5) +
           "," + a_destra(z.flag2, 5) + "," + a_destra(z.ore, 4) + "," + a_destra(z.minuti, 2) +
           "," + a_destra(z.secondi, 2) + "," + (z.nome.empty() ? "" : " ") + z.nome);
  }
  t.riga("[rallentamenti]");
  for (const RecordRallentamento& r : s.rallentamenti) {
    t.riga("rallentamento," + a_destra(r.x, 8) + "," + a_destra(r.v, 6) + "," + a_destra(r.l, 5) +
           "," + a_destra(r.f_tt, 2) + "," + a_destra(r.f_ta, 3) + "," + a_destra(r.d_v, 3));
  }
  t.riga("[segnali]");
  for (const RecordSegnale& g : s.segnali) {
    t.riga("segnale," + a_destra(g.posizione, 8) + "," + a_destra(g.sx, 4) + "," +
           a_destra(g.s1, 2) + "," + a_destra(g.s2, 2) + "," + a_destra(g.s3, 3) + "," +
           a_destra(g.rapp, 2) + "," + a_destra(g.dx, 5) + "," + a_destra(g.d1, 3) + "," + n(g.d2) +
           "," + n(g.d3) + ", " + n(g.tempo));
  }
  t.riga("[codici]");
  for (const RecordAbbattimento& a : s.abbattimenti) {
    t.riga("abbattimento," + a_destra(a.posizione, 8) + "," + a_destra(a.valore, 6));
  }
  t.riga("[fine]");
  return t.finito();
}

}  // namespace scenario
