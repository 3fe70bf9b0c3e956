#pragma once
// The rich-text editor control: a QTextEdit whose content is stored as RTF,
// with character and paragraph formats in whole points.
#include <QColor>
#include <QTextEdit>

class RichEdit : public QTextEdit {  // the editor control RichEdit1
    Q_OBJECT
public:
    enum class Align { Left, Right, Center, Justify };
    enum class Numbering { None, Bullet };
    enum class FileFormat { Rtf, PlainText };

    explicit RichEdit(QWidget* parent = nullptr);
    ~RichEdit() override;

    // ---- content ----
    // Replaces the whole content by the RTF document (an empty array gives an empty
    // editor); clears the modified flag and the undo history. Data that is not RTF
    // loads as plain text. False (content unchanged, *error set) when unreadable.
    bool loadRtf(const QByteArray& rtf, QString* error = nullptr);
    QByteArray saveRtf() const;  // the whole content as an RTF document
    // Plain text: UTF-8 when it is valid UTF-8 (or has a UTF-16 byte-order mark),
    // otherwise the system's ANSI code page; one paragraph per line.
    bool loadPlainText(const QByteArray& bytes, QString* error = nullptr);
    QByteArray savePlainText() const;  // UTF-8, lines ended by CR LF
    // Files by extension ("rtf" or "txt", any case; others as RTF). A load that fails
    // in that format is tried in the other. False with *error on failure.
    bool loadFile(const QString& path, QString* error = nullptr);
    bool saveFile(const QString& path, QString* error = nullptr) const;
    static FileFormat formatForPath(const QString& path);

    QString text() const;   // paragraphs separated by "\n"
    int textLength() const; // characters, a paragraph break counting as one
    void clearAll();        // empties the editor (modified is set, like any change)
    bool modified() const;
    void setModified(bool m);
    void addLine(const QString& line);  // appends one paragraph; on an empty editor it fills the first one

    // ---- selection ----
    int selStart() const;
    int selLength() const;
    void setSel(int start, int length);  // clamped to the text; length may be negative
    QString selText() const;             // paragraph breaks as "\n"
    void replaceSel(const QString& text);
    void deleteSel();                    // does nothing when the selection is empty
    // selectAll() comes from QTextEdit.

    // ---- character format of the selection (at the caret when nothing is selected) ----
    static constexpr int maxFaceLength = 31;
    QString selFontName() const;  int selFontSize() const;
    void setSelFontName(const QString& face);  void setSelFontSize(int pt);
    bool selBold() const;  bool selItalic() const;  bool selUnderline() const;  bool selStrikeOut() const;
    void setSelBold(bool on);  void setSelItalic(bool on);  void setSelUnderline(bool on);
    void setSelStrikeOut(bool on);
    QColor selColor() const;  // an invalid QColor is the automatic colour
    void setSelColor(const QColor& c);
    // Back colour; with nothing selected these act on the word at the caret (or, with the
    // caret outside any word, on the text typed next). Invalid = automatic (none).
    QColor selBackColor() const;
    void setSelBackColor(const QColor& c);
    int selCharset() const;  void setSelCharset(int charset);

    // default font (face, size in points, colour; an invalid QColor = automatic) of new text
    void setDefaultFont(const QString& face, int sizePt, const QColor& colour);
    QString defaultFontName() const;  int defaultFontSize() const;  QColor defaultFontColor() const;

    // ---- paragraph format of the selection's paragraphs, indents in whole points ----
    // first indent: where the first line starts; left indent: where the other lines start,
    // measured from the first line (may be negative); right indent: from the right edge.
    int paraFirstIndent() const;  int paraLeftIndent() const;  int paraRightIndent() const;
    void setParaRightIndent(int pt);  void setParaLeftIndent(int pt);  void setParaFirstIndent(int pt);
    Align paraAlignment() const;
    void setParaAlignment(Align a);
    Numbering paraNumbering() const;
    void setParaNumbering(Numbering n);

    static int pointsToPixels(int pt) { return pt * 4 / 3; }
    static int pixelsToPoints(int px) { return px * 3 / 4; }

signals:
    void modifiedChanged(bool modified);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QTextCursor firstSelectedCharCursor() const;
    QTextCharFormat selCharFormat() const;
    void mergeSelFormat(const QTextCharFormat& f);
    template <typename Change> void changeParagraphs(Change change);
    void installDocument(QTextDocument* doc);
    QTextDocument* newDocument() const;

    QColor defaultColour_;
};
