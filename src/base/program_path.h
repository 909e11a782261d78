#pragma once
// A path in the program's own form, whatever the platform: a drive letter,
// then "\" between the parts ("C:\data\B-1"). The platform layer maps it to a
// native path; everything above that layer joins and takes paths apart only
// through this type.
#include <string>
#include <string_view>
#include <vector>

namespace lodemark {

// Upper-case letter of a path's "X:" prefix; 0 when there is none.
char32_t drive_letter_of(std::u32string_view path);

class ProgramPath {
 public:
  static constexpr char32_t kSeparator = U'\\';

  ProgramPath() = default;
  // Implicit: a path typed by the user or written in a test is a text first.
  ProgramPath(std::u32string text) : text_(std::move(text)) {}
  ProgramPath(std::u32string_view text) : text_(text) {}
  ProgramPath(const char32_t* text) : text_(text) {}

  const std::u32string& text() const { return text_; }
  bool empty() const { return text_.empty(); }

  char32_t drive_letter() const { return drive_letter_of(text_); }
  bool ends_with_separator() const { return !text_.empty() && text_.back() == kSeparator; }
  // The same path with exactly the one trailing "\" that a folder setting carries.
  ProgramPath as_folder() const;
  // The pieces between separators, in order: "C:\a\b\" gives "C:", "a", "b", "".
  std::vector<std::u32string> parts() const;

  // `name` inside this folder, with one "\" between them; an empty folder
  // gives the name alone.
  friend ProgramPath operator/(const ProgramPath& folder, std::u32string_view name);
  friend bool operator==(const ProgramPath&, const ProgramPath&) = default;

 private:
  std::u32string text_;
};

}  // namespace lodemark
