// Output to a file descriptor that keeps the system's reason when a write
// fails, so that a failed standard output can be reported with it.
#ifndef SCENARIO_TOOLS_DESCRIPTOR_OUTPUT_H_
#define SCENARIO_TOOLS_DESCRIPTOR_OUTPUT_H_

#include <array>
#include <streambuf>

namespace scenario {

/// A stream buffer writing to an open file descriptor (not closed here):
/// - the bytes are gathered and written when the buffer fills, on a flush
///   and when it goes, going on after a partial write or an interruption;
/// - the first write that fails keeps its errno, and every write after it
///   fails too, so the stream using it turns bad and stays bad.
class UscitaDescrittore : public std::streambuf {
 public:
  /// Writes to `fd`.
  explicit UscitaDescrittore(int fd);
  ~UscitaDescrittore() override;
  UscitaDescrittore(const UscitaDescrittore&) = delete;
  UscitaDescrittore& operator=(const UscitaDescrittore&) = delete;

  /// The errno of the write that failed; 0 while none has.
  int errore() const { return errore_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  /// Writes out what the buffer holds; false once a write has failed.
  bool scarica();

  int fd_;
  int errore_ = 0;
  std::array<char, 1 << 14> buffer_{};
};

}  // namespace scenario

#endif  // SCENARIO_TOOLS_DESCRIPTOR_OUTPUT_H_
