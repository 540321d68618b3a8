// "Did you mean ...": the known word nearest to a misspelt one.
#ifndef SCENARIO_SCRIPTS_NEAREST_WORD_H_
#define SCENARIO_SCRIPTS_NEAREST_WORD_H_

#include <cstddef>
#include <span>
#include <string_view>

namespace scenario {

/// Edits (insertions, deletions, substitutions, swaps of two neighbours)
/// that turn `a` into `b`, ASCII case folded.
std::size_t distanza_parole(std::string_view a, std::string_view b);

/// The candidate nearest to `parola`, when it is near enough to be what was
/// meant (at most one edit per three letters, one at least); empty
/// otherwise. The first of equally near candidates wins.
std::string_view parola_piu_vicina(std::string_view parola,
                                   std::span<const std::string_view> candidati);

}  // namespace scenario

#endif  // SCENARIO_SCRIPTS_NEAREST_WORD_H_
