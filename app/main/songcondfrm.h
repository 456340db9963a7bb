// Tsongcondfrm: the panel of song conditions in the search window. Eight
// conditions, each with its own on/off switch: three text conditions, a
// free query-language condition, two number conditions, chords and
// languages. Editing a condition's input switches it on.
#pragma once

#include <QWidget>

#include "query/songexpr.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QToolButton;
class KxSong;

class Tsongcondfrm final : public QWidget {
public:
    explicit Tsongcondfrm(QWidget* parent);

    // True when the song satisfies every switched-on condition. A changed
    // expression is parsed first; a faulty one shows its error box once and
    // is then left out until it is edited again.
    bool Matches(const KxSong* song);
    // Releases the switches of the first two text conditions.
    void ResetSwitches();

    QToolButton* sw[8] = {};  // sw1..sw8
    QLineEdit* text[3] = {};  // text1..text3
    QComboBox* op[3] = {};    // op1..op3: present, equal, not present, not equal
    QComboBox* fld[3] = {};   // fld1..fld3: any, title, author, group, remark, text
    QLineEdit* expr4 = nullptr;
    QSpinBox* num[2] = {};      // num5, num6
    QComboBox* numop[2] = {};   // op5, op6: = <> < > <= >=
    QComboBox* numfld[2] = {};  // fld5, fld6: LOCID, NETID, version
    QComboBox* acs7 = nullptr;
    QCheckBox* lang[5] = {};  // langcz, langsk, langen, langde, langru

private:
    bool textMatches(int i, const KxSong* song) const;
    bool exprMatches(const KxSong* song);
    bool numberMatches(int i, const KxSong* song) const;
    bool languageMatches(const KxSong* song) const;

    SongExprPtr expression;
    bool exprModified = false;
};
