// The main window's editor: a plain-text editor for 8-bit crystal data text. It holds at
// most a fixed number of characters (a line break counting as the CR LF it becomes in a
// file), refuses anything beyond and says so, and turns characters that no 8-bit file could
// hold into '?' as they are typed or pasted, so that the text shown is the text saved.
#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <cstddef>
#include <string>

namespace orvix {

class text_editor : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit text_editor(QWidget* parent = nullptr);

    // The text's length in bytes as a file would hold it (CR LF line ends).
    std::size_t length() const;
    std::size_t limit() const { return limit_; }

    // The whole text as 8-bit bytes with CR LF line ends, and back (a zero byte ends it).
    std::string bytes() const;
    void set_bytes(const std::string& bytes);

    // Removes the selection, as the Delete key does.
    void delete_selection();

  signals:
    // Text was refused (or cut short) because the editor would have grown past its limit.
    void out_of_space();
    // The text itself changed (not merely its formatting or the cursor).
    void text_edited();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    // Bytes the selection takes in a file.
    std::size_t selection_length() const;
    // How many more bytes fit when the selection is replaced.
    std::size_t room() const;

    std::size_t limit_;
};

// The bytes a piece of editor text takes in a file: a line break (CR LF, LF, CR or a
// paragraph separator) counts two.
std::size_t file_length(const QString& text);

// Replaces every character outside Latin-1 by '?' and every paragraph or line separator by
// a line feed.
QString eight_bit_text(const QString& text);

// The longest start of `text` whose file length is at most `room`; never splits a CR LF.
QString fitting_prefix(const QString& text, std::size_t room);

// `preferred` if every printable Latin-1 character is equally wide in it, so that the columns
// of crystal data line up; otherwise the first font family of the system that is, at the same
// size (`preferred` when none is).
QFont monospaced_font(const QFont& preferred);

}  // namespace orvix
