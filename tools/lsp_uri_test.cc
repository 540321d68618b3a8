#include "tools/lsp_uri.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(PercorsoDaUri, DecodesFileUrisAndRefusesTheRest) {
  const std::pair<const char*, const char*> casi[] = {
      {"file:///home/a/R_linea.txt", "/home/a/R_linea.txt"},
      {"file://localhost/home/a%20b/x.txt", "/home/a b/x.txt"},
      {"file:///c%c3%a0/x%2Ctxt", "/c\xc3\xa0/x,txt"},
      {"file:///a/x.txt#frammento", "/a/x.txt"},
      {"untitled:Untitled-1", ""},
      {"file://altro/a.txt", ""},
      {"file:///a%2", ""},
      {"file:///a%zz", ""},
      {"file:///a%00b", ""},
  };
  for (const auto& [uri, percorso] : casi) {
    SCOPED_TRACE(uri);
    EXPECT_EQ(percorso_da_uri(uri), percorso);
  }
}

TEST(UriDaPercorso, EscapesWhatAUriCannotHoldAndReadsBack) {
  const std::string percorso = "/home/a b/Citt\xc3\xa0_1#%-.txt";
  EXPECT_EQ(uri_da_percorso(percorso), "file:///home/a%20b/Citt%C3%A0_1%23%25-.txt");
  EXPECT_EQ(percorso_da_uri(uri_da_percorso(percorso)), percorso);
}

}  // namespace
}  // namespace scenario
