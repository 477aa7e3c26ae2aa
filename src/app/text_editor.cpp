// The limited 8-bit editor.
#include "app/text_editor.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "app/qt_services.h"
#include "commands/documents.h"

namespace orvix {

namespace {

bool is_break(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// By the advances themselves: the font's own word for it (QFontInfo::fixedPitch) is false
// for some monospaced fonts, Noto Sans Mono among them.
bool monospaced(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char(' '));
    for (int code = 0x21; code <= 0xff; ++code) {
        const QChar c(code);
        if (c.isPrint() && metrics.horizontalAdvance(c) != width) return false;
    }
    return width > 0;
}

}  // namespace

std::size_t file_length(const QString& text) {
    std::size_t length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
        length += is_break(c) ? 2 : 1;
    }
    return length;
}

QString eight_bit_text(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
        else if (c.unicode() > 0xff)
            c = u'?';
    }
    return out;
}

QString fitting_prefix(const QString& text, std::size_t room) {
    std::size_t length = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        const bool pair = c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n';
        const std::size_t add = is_break(c) ? 2 : 1;
        if (length + add > room) break;
        length += add;
        i += pair ? 2 : 1;
    }
    return text.left(i);
}

QFont monospaced_font(const QFont& preferred) {
    if (monospaced(preferred)) return preferred;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Latin)) {
        QFont candidate = preferred;
        candidate.setFamily(family);
        if (monospaced(candidate)) return candidate;
    }
    return preferred;
}

text_editor::text_editor(QWidget* parent) : QPlainTextEdit(parent), limit_(editor_limit) {
    setObjectName(QStringLiteral("editor"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(monospaced_font(QFontDatabase::systemFont(QFontDatabase::FixedFont)));
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    // The selection keeps its colours while another window has the focus.
    QPalette colours = palette();
    colours.setBrush(QPalette::Inactive, QPalette::Highlight,
                     colours.brush(QPalette::Active, QPalette::Highlight));
    colours.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                     colours.brush(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed != 0 || added != 0) emit text_edited();
    });
}

std::size_t text_editor::length() const {
    // characterCount holds one separator per block, the last one included; each separator
    // but the last becomes CR LF.
    const int characters = document()->characterCount();
    const int blocks = document()->blockCount();
    return static_cast<std::size_t>(characters + blocks - 2);
}

std::string text_editor::bytes() const {
    return editor_bytes(*document());
}

void text_editor::set_bytes(const std::string& bytes) {
    const std::size_t end = bytes.find('\0');
    setPlainText(editor_text_from_bytes(end == std::string::npos ? bytes : bytes.substr(0, end)));
}

void text_editor::delete_selection() {
    textCursor().removeSelectedText();
}

std::size_t text_editor::selection_length() const {
    return file_length(textCursor().selectedText());
}

std::size_t text_editor::room() const {
    const std::size_t kept = length() - selection_length();
    return kept >= limit_ ? 0 : limit_ - kept;
}

void text_editor::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const bool line_break = event->matches(QKeySequence::InsertParagraphSeparator) ||
                            event->matches(QKeySequence::InsertLineSeparator);
    if (line_break) {
        if (room() < 2) {
            emit out_of_space();
            event->accept();
            return;
        }
        // Shift+Enter too makes an ordinary line: a file has only one kind of line end.
        textCursor().insertBlock();
        ensureCursorVisible();
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool typed_text = !text.isEmpty() && (text.at(0).isPrint() || text.at(0) == u'\t');
    // An Alt chord is a command, never text; it goes on to the window. (Ctrl+Alt stays
    // text: some systems report AltGr so.)
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (typed_text && modifiers.testFlag(Qt::AltModifier) &&
        !modifiers.testFlag(Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    if (typed_text) {
        const QString typed = eight_bit_text(text);
        if (file_length(typed) > room()) {
            emit out_of_space();
            event->accept();
            return;
        }
        if (typed != text) {
            textCursor().insertText(typed);
            ensureCursorVisible();
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void text_editor::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || source == nullptr || !source->hasText()) return;
    const QString text = eight_bit_text(source->text());
    const QString fitting = fitting_prefix(text, room());
    // Whatever fits goes in, as the rest is refused with a message.
    if (!fitting.isEmpty()) {
        textCursor().insertText(fitting);
        ensureCursorVisible();
    }
    if (fitting.size() < text.size()) emit out_of_space();
}

void text_editor::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QString typed = eight_bit_text(commit);
    if (file_length(typed) > room()) {
        typed.clear();
        emit out_of_space();
        // With no composition to clear, passing the emptied event on would still report a
        // change of the text, and the untouched document would ask to be saved.
        if (event->preeditString().isEmpty() && event->replacementLength() == 0 &&
            textCursor().block().layout()->preeditAreaText().isEmpty()) {
            event->accept();
            return;
        }
    }
    QInputMethodEvent limited(event->preeditString(), event->attributes());
    limited.setCommitString(typed, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&limited);
}

}  // namespace orvix
