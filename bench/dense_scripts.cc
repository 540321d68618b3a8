#include "bench/dense_scripts.h"

#include <algorithm>

namespace scenario {

namespace {

/// Most mountain sections, indicator boards and stations spread over the
/// route: within the limits of the section arrays and of the shared entry
/// table (boards and stations together leave two entries free).
constexpr std::int32_t kMontagne = 78;
constexpr std::int32_t kCartelli = 40;
constexpr std::int32_t kStazioni = 30;

/// Offsets inside each kilometre, in metres, chosen so that the cells of
/// the elements never meet: boards (cell +6), signals (+8, +16), indicator
/// board (+12), station end mark (+14), slowdown start and end (+7, +9,
/// warning board and its four cells in the kilometre before).
constexpr std::int32_t kIndicatoriV = 250;
constexpr std::int32_t kSegnaleA = 350;
constexpr std::int32_t kSegnaleB = 750;
constexpr std::int32_t kCartello = 550;
constexpr std::int32_t kStazione = 500;
constexpr std::int32_t kRallentamento = 300;

/// The kilometres that carry one of `quanti` elements spread evenly over
/// `km` kilometres: every `passo` kilometres, from the first.
std::int32_t passo_per(std::int32_t km, std::int32_t quanti) {
  return std::max<std::int32_t>(1, (km + quanti - 1) / quanti);
}

void riga(std::string* testo, const std::string& r) {
  testo->append(r);
  testo->append("\r\n");
}

std::string n(std::int64_t v) {
  return std::to_string(v);
}

}  // namespace

ScriptDensi script_densi(std::int32_t lunghezza) {
  const std::int32_t km = lunghezza / 1000;
  ScriptDensi s;
  std::string& l = s.linea;
  l.reserve(static_cast<std::size_t>(km) * 900 + 1024);
  riga(&l, "[generale]");
  riga(&l, "lunghezza percorso,    " + n(lunghezza));
  riga(&l, "progressiva chilometrica uno,    0,    " + n(km * 1000) + ",    1");
  riga(&l, "progressiva chilometrica due,    0,    0,    0");
  riga(&l, "progressiva chilometrica tre,    0,    0,    0");
  riga(&l, "sfondo uno,    1");
  riga(&l, "sfondo due,    0");
  riga(&l, "sfondo tre,    0");
  riga(&l, "ripetizione segnali 4 codici,    0    ,0");

  riga(&l, "[curve]");
  for (std::int32_t k = 0; k < km; ++k) {
    const std::int64_t b = static_cast<std::int64_t>(k) * 1000;
    const char lato1 = k % 2 == 0 ? 's' : 'd';
    const char lato2 = k % 2 == 0 ? 'd' : 's';
    riga(&l, std::string("curva") + lato1 + n(1 + k % 6) + ",  " + n(b + 100) + ",  300");
    riga(&l, std::string("curva") + lato2 + n(1 + (k + 3) % 6) + ",  " + n(b + 550) + ",  250");
  }

  riga(&l, "[pendenze]");
  for (std::int64_t p = 0; p + 50 <= static_cast<std::int64_t>(km) * 1000; p += 50) {
    riga(&l, "pendenza,  " + n(p) + ",   " + n((p / 50) % 21 - 10));
  }

  riga(&l, "[montagne]");
  const std::int32_t passo_montagne = passo_per(km, kMontagne);
  for (std::int32_t k = 0; k < km; k += passo_montagne) {
    const std::int64_t b = static_cast<std::int64_t>(k) * 1000;
    riga(&l, "montagna,   " + n(b + 100) + ",  " + n(b + 900) + ",  11");
  }

  riga(&l, "[cartelli]");
  for (std::int32_t k = 0; k < km; ++k) {
    const std::int64_t b = static_cast<std::int64_t>(k) * 1000;
    riga(&l, "indicatori_vmax,  " + n(b + kIndicatoriV) + ",  " + n(60 + 5 * (k % 20)) + ",  " +
                 n(70 + 5 * (k % 20)) + ",  " + n(70 + 5 * (k % 20)) + ",  0,  ,  ,  ,  0");
  }

  riga(&l, "[indicazioni]");
  const std::int32_t passo_cartelli = passo_per(km, kCartelli);
  for (std::int32_t k = 0; k < km; k += passo_cartelli) {
    const std::int64_t b = static_cast<std::int64_t>(k) * 1000;
    riga(&l, "cartello_indicatore,  " + n(b + kCartello) + ",   (PL km)(" + n(k) + "+550)");
  }
  riga(&l, "[fine]");

  std::string& t = s.treno;
  t.reserve(static_cast<std::size_t>(km) * 200 + 1024);
  riga(&t, "[generale]");
  riga(&t, "numero vetture,    6");
  riga(&t, "percentuale massa frenata,    110");
  riga(&t, "sabbia,    300");
  riga(&t, "orologio,    6              0            0 ");

  riga(&t, "[aderenze]");
  for (std::int32_t k = 0; k < km; k += 10) {
    riga(&t, "aderenza,   " + n(static_cast<std::int64_t>(k) * 1000) + ",    " +
                 n(k % 20 == 0 ? 100 : 70));
  }

  riga(&t, "[vel_limite]");
  for (std::int32_t k = 0; k < km; ++k) {
    riga(&t,
         "velocita,   " + n(static_cast<std::int64_t>(k) * 1000) + ",   " + n(80 + 10 * (k % 9)));
  }

  riga(&t, "[stazioni]");
  const std::int32_t passo_stazioni = passo_per(km, kStazioni);
  for (std::int32_t k = 0, numero = 1; k < km; k += passo_stazioni, ++numero) {
    const std::int64_t b = static_cast<std::int64_t>(k) * 1000;
    const std::int64_t secondi = 6 * 3600 + static_cast<std::int64_t>(k) * 30;
    riga(&t, "stazione,   " + n(b + kStazione) + ",  4,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  " +
                 n(secondi / 3600 % 24) + "," + n(secondi / 60 % 60) + ", " + n(secondi % 60) +
                 ", STAZIONE " + n(numero));
  }

  riga(&t, "[rallentamenti]");
  for (std::int32_t k = 50; k < km; k += 50) {
    riga(&t, "rallentamento,   " + n(static_cast<std::int64_t>(k) * 1000 + kRallentamento) +
                 ",    40,  100, 0,  1,  0");
  }

  riga(&t, "[segnali]");
  for (std::int32_t k = 0; k < km; ++k) {
    const std::int64_t b = static_cast<std::int64_t>(k) * 1000;
    riga(&t, "segnale,   " + n(b + kSegnaleA) + ",   1, 3, 1,  0, 0,    0,  0,0,0, 0");
    riga(&t, "segnale,   " + n(b + kSegnaleB) + ",   2, 2, 4,  0, 0,    0,  0,0,0, 255");
  }
  riga(&t, "[codici]");
  riga(&t, "[fine]");
  return s;
}

}  // namespace scenario
