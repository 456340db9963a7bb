// Tdbpropsfrm: the database properties dialog "Vlastnosti databáze". Edits
// the user columns of one database in place and runs the duplicate-song
// test on it, its report in a log window. Closing the dialog, whichever
// way, marks the database changed and posts it.
#pragma once

#include <functional>

#include "foundation/qt/btkform.h"
#include "songs/dupltest.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSlider;
class QSpinBox;
class QTabWidget;
class KxDatabase;

// Reads a decimal number written with a point or a comma, whatever the
// locale; false for anything else (also an empty, infinite or NaN text).
[[nodiscard]] bool ParseDecimalText(const char* text, float& value);

// The test's progress shown in the dialog's labels; while it runs, window
// events are let through so that "Zrušit test" can be pressed.
class Tdbpropsfrm;
class TdbpropsfrmDblTestState : public DuplTestProgress {
public:
    explicit TdbpropsfrmDblTestState(Tdbpropsfrm* form) : form(form) {}
    void update() override;

private:
    Tdbpropsfrm* form;
};

class Tdbpropsfrm : public btkDialogForm {
public:
    Tdbpropsfrm();

    // Edits the database's user columns and offers the test; nothing for a
    // null database.
    void Execute(KxDatabase* database);

    // The parameters of the controls over the defaults; false after an
    // error box when a decimal field holds no number.
    [[nodiscard]] bool readParams(DuplTestParams& params);
    void loadDefaults();

    // User columns.
    void colsClick();
    void Button1Click();  // Přidat
    void Button2Click();  // Ubrat
    void Button3Click();  // <<
    void Button4Click();  // >>
    // Duplicate test.
    void Button5Click();  // Spustit test
    void Button6Click();  // Načíst implicitní hodnoty parametrů
    void Button7Click();  // Zrušit test

    QTabWidget* pages = nullptr;
    QListWidget* cols = nullptr;
    QLineEdit* colname = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QSpinBox* MAX_CHAR_DIF = nullptr;
    QComboBox* whatdelete = nullptr;
    QTabWidget* dbltestpager = nullptr;
    QSpinBox* MAX_LEN_DIF = nullptr;
    QSpinBox* MAX_DIF_LEN = nullptr;
    QSpinBox* MAX_DIF_TEST_LEN = nullptr;
    QLineEdit* MAX_TEXT_DIFF_KOEF = nullptr;
    QLineEdit* MAX_TEXT_DIFF_LEN = nullptr;
    QSlider* testlen = nullptr;
    QLabel* testlenvalue = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QLabel* dbltestsum = nullptr;
    QLabel* dbltestfinished = nullptr;
    QLabel* dbltestfind = nullptr;
    QPushButton* BitBtn1 = nullptr;
    std::function<int(Tdbpropsfrm&)> runner;  // tests: runs the filled dialog

protected:
    void FormClose() override;

private:
    friend class TdbpropsfrmDblTestState;
    QWidget* buildColumnsPage();
    QWidget* buildTestPage();
    // The two tabs of the duplicate test: its parameters, its sensitivity.
    QWidget* buildComplexTestTab();
    QWidget* buildSimpleTestTab();
    void refill();
    void load();
    void commit();
    void showProgress(const DuplTestProgress& state);

    KxDatabase* database = nullptr;
    int edited = -1;
    bool closed = false;
    DuplTestProgress* running = nullptr;
};
