// The line table and writing sequence shared by the five text outputs.
#ifndef SCENARIO_BASE_TEXT_FILE_WRITER_H_
#define SCENARIO_BASE_TEXT_FILE_WRITER_H_

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace scenario {

/// The text that closes a document in its line table; never written.
inline constexpr std::string_view kFineDelFile = "riferimento fine del file";

/// A document as 1001 line slots; the slot after the last line holds
/// `kFineDelFile`, and slots after it are never looked at.
using TabellaRighe = std::array<std::string_view, 1001>;

/// A line table holding `righe` from slot 0 and the end marker after them.
/// At most 1000 lines fit.
TabellaRighe tabella_righe(std::initializer_list<std::string_view> righe);
/// Same, from any contiguous range of lines.
TabellaRighe tabella_righe(const std::string_view* righe, std::size_t quante);

/// The bytes of the file for `tabella`: every slot up to the end marker
/// (compared whole and case-sensitively), each followed by CR LF.
std::string testo_file(const TabellaRighe& tabella);

/// Writes `tabella` as the text file `percorso`, replacing it whole and
/// atomically; false with `*err` set when a file step fails.
bool scrivi_file_testo(FileSystem& fs, const std::string& percorso, const TabellaRighe& tabella,
                       std::string* err);

}  // namespace scenario

#endif  // SCENARIO_BASE_TEXT_FILE_WRITER_H_
