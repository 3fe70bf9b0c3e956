#pragma once
// The rich-text editor control: a QTextEdit whose content is stored as RTF,
// with character and paragraph formats in whole points.
#include "editor/textfind.h"
#include "editor/undokinds.h"

#include <QColor>
#include <QTextEdit>

class LinkHighlighter;
class QPagedPaintDevice;

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

    // ---- undo and redo: up to 100 steps; a run of typed characters is one step ----
    bool canUndo() const;
    bool canRedo() const;
    UndoKind undoKind() const;  // the kind of the step undo() would take back
    UndoKind redoKind() const;

    // ---- find: selects the match and returns its start, or -1 (selection unchanged).
    // Forward finds a match starting at or after `from`; backward one ending at or before it.
    int find(const QString& text, int from, const FindOptions& options);

    // ---- pictures and embedded objects ----
    // Inserts a picture in place of the selection; its bytes are kept as they are
    // (PNG and JPEG) or stored as PNG (other formats). False when Qt cannot decode it.
    bool insertPicture(const QByteArray& bytes, QString* error = nullptr);
    bool insertPictureFile(const QString& path, QString* error = nullptr);
    // Embeds a file (or, linked, its path) as an object shown as an icon with its name.
    bool insertObjectFile(const QString& path, bool linked, QString* error = nullptr);
    bool selectionIsOneObject() const;

    // ---- layout, in the control's client coordinates ----
    QRect formatRect() const;
    int clientHeight() const;
    int lineFromChar(int position) const;   // wrapped lines counted, from 0
    int lineIndex(int line) const;          // the first character of a line; -1 past the end
    QPoint charScreenPosition(int position) const;
    QColor backgroundColor() const;
    void setBackgroundColor(const QColor& c);

    // ---- printing: the whole text, page by page in the printable area ----
    void print(QPagedPaintDevice* printer, const QString& jobTitle) const;

public slots:
    // Hide QTextEdit's slots of the same names so that each step gets its kind.
    void undo();
    void redo();
    void cut();
    void paste();

signals:
    void modifiedChanged(bool modified);
    void change();                 // the text or its formats changed
    void selectionChange();        // the caret moved or the selection changed
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // A link was clicked: the address of a link field, or the text of a detected link.
    void urlClick(const QString& link, Qt::MouseButton button);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    QTextCursor firstSelectedCharCursor() const;
    QTextCharFormat selCharFormat() const;
    void mergeSelFormat(const QTextCharFormat& f);
    template <typename Change> void changeParagraphs(Change change);
    void installDocument(QTextDocument* doc);
    QTextDocument* newDocument() const;

    QString linkAt(QPoint viewportPos) const;
    void insertImageFormat(const class QTextImageFormat& f);

    QColor defaultColour_;
    UndoKinds undoKinds_;
    LinkHighlighter* links_ = nullptr;
    QString pressedLink_;
};
