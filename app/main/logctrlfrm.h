// Tlogctrlfrm: a read-only pane showing one log text. Clicking a number in
// it selects the song with that local id in the database the text belongs
// to (the log name).
#pragma once

#include <QWidget>

#include "foundation/btkstring.h"

class QPlainTextEdit;

class Tlogctrlfrm : public QWidget {
public:
    explicit Tlogctrlfrm(QWidget* parent = nullptr);

    // Shows the text and remembers the log name.
    void SetLog(const char* text, const char* logName);
    btkstring text() const;
    const btkstring& logName() const { return name; }
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    // The number at a character position of the text.
    int numberAt(int position) const;
    // What a click does at the caret: selects the song of the number in the
    // database of the log name. True when a song was asked for.
    bool selectNumberAtCaret();

    QPlainTextEdit* memo = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    btkstring name;
};
