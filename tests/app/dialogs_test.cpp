// The small dialogs: progress cancel, print range, window list, quick
// search, splash and about box.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/main/printrangefrm.h"
#include "app/main/progressfrm.h"
#include "app/main/qsearchfrm.h"
#include "app/main/startfrm.h"
#include "app/main/winlistfrm.h"
#include "app/qtfiledialogs.h"
#include "appenv.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkfiledialogs.h"
#include "foundation/qt/btkqstring.h"
#include "songs/appservices.h"
#include "songs/uibridge.h"

namespace {

TEST(ProgressWindow, StornoMakesTheNextStepFalseAndTheWindowStays) {
    Tprogressfrm window;
    window.Start("Titulek", "Text", 100, true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.btcancel->isVisibleTo(&window));
    EXPECT_TRUE(window.Step(10, "dál"));
    window.btcancel->click();
    EXPECT_FALSE(window.Step(20, "dál"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(btkFromQString(window.label->text()), btkstring("dál"));
    // A new start clears the cancel.
    window.Start("Znovu", "Text", 5, false);
    EXPECT_FALSE(window.btcancel->isVisibleTo(&window));
    EXPECT_TRUE(window.Step(1, "a"));
    window.Close();
    EXPECT_FALSE(window.isVisible());
}

TEST(PrintRange, ChoicesNarrowTheSelection) {
    Tprintrangefrm window;
    btkCntVec<int> chosen;
    window.runner = [](Tprintrangefrm& w) {
        w.Button1->click();  // odd pages stay
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(window.Execute(5, chosen));
    ASSERT_EQ(chosen.count(), 3);
    EXPECT_EQ(chosen[0], 0);
    EXPECT_EQ(chosen[1], 2);
    EXPECT_EQ(chosen[2], 4);

    window.runner = [](Tprintrangefrm& w) {
        w.Button2->click();
        w.Button1->click();
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(window.Execute(4, chosen));
    EXPECT_EQ(chosen.count(), 0);

    window.runner = [](Tprintrangefrm& w) {
        w.Button2->click();
        w.Button3->click();
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(window.Execute(3, chosen));
    EXPECT_EQ(chosen.count(), 3);

    window.runner = [](Tprintrangefrm& w) {
        EXPECT_EQ(w.pages->count(), 0);
        return int(QDialog::Rejected);
    };
    chosen.clear();
    chosen.add(9);
    EXPECT_FALSE(window.Execute(0, chosen));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0], 9);
}

TEST(PrintRange, TheDialogRunsModallyAndPrints) {
    Tprintrangefrm window;
    btkCntVec<int> chosen;
    QTimer::singleShot(0, &window, [&] { window.BitBtn1->click(); });
    EXPECT_TRUE(window.Execute(2, chosen));
    EXPECT_EQ(chosen.count(), 2);
    QTimer::singleShot(0, &window, [&] {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&window, &esc);
    });
    EXPECT_FALSE(window.Execute(2, chosen));
}

TEST(WindowList, WithoutSongBooksTheListIsEmptyAndNothingIsActivated) {
    Twinlistfrm window;
    window.runner = [](Twinlistfrm& w) {
        EXPECT_EQ(w.list->count(), 0);
        return int(QDialog::Accepted);
    };
    EXPECT_FALSE(window.Execute());
}

class RecordingSearch : public SearchControl {
public:
    void search(const char* text, int direction) override {
        texts.push_back(text);
        directions.push_back(direction);
    }
    std::vector<std::string> texts;
    std::vector<int> directions;
};

TEST(QuickSearch, KeysSearchInTheirDirections) {
    Tqsearchfrm window;
    RecordingSearch target;
    window.Execute(10, 20, 'k', &target);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.text(), btkstring("k"));
    EXPECT_EQ(window.stext->cursorPosition(), 1);
    auto key = [&](QEvent::Type type, int code, const QString& text = QString()) {
        QKeyEvent e(type, code, Qt::NoModifier, text);
        QApplication::sendEvent(window.stext, &e);
    };
    key(QEvent::KeyPress, Qt::Key_A, QStringLiteral("a"));
    key(QEvent::KeyRelease, Qt::Key_A, QStringLiteral("a"));
    key(QEvent::KeyPress, Qt::Key_Return);
    key(QEvent::KeyPress, Qt::Key_Down);
    key(QEvent::KeyPress, Qt::Key_Up);
    window.SpeedButton2->click();
    ASSERT_EQ(target.directions.size(), 5u);
    EXPECT_EQ(target.texts[0], "ka");
    EXPECT_EQ(target.directions, (std::vector<int>{0, 1, 1, -1, -1}));
    // The edit box did not take the consumed keys.
    EXPECT_EQ(window.text(), btkstring("ka"));
    key(QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST(FileDialogFilter, PlatformPairsBecomeQtNameFilters) {
    EXPECT_EQ(btkQtFileFilter("Databáze|*.xml;*.xgz|Vše|*.*"), QStringLiteral(u"Databáze (*.xml *.xgz);;Vše (*.*)"));
    // A caption naming its patterns shows them once.
    EXPECT_EQ(btkQtFileFilter("Melodary (*.kx)|*.kx"), QStringLiteral("Melodary (*.kx)"));
    EXPECT_EQ(btkQtFileFilter("Databáze(*.xml)|*.xml|Komprimované databáze(*.xgz)|*.xgz|"),
              QStringLiteral(u"Databáze (*.xml);;Komprimované databáze (*.xgz)"));
    // A caption without its pattern is left out.
    EXPECT_EQ(btkQtFileFilter("Text|*.txt|Zbytek"), QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(btkQtFileFilter(""), QString());
}

TEST(FileDialogs, TheModelsDialogsGoThroughTheScriptedBackend) {
    btkScriptedDialogs scripted;
    btkDialogBackend* previous = btkSetDialogBackend(&scripted);
    InstallQtFileDialogs();
    scripted.files.push_back("/tmp/vyber.xml");
    EXPECT_EQ(ExecuteOpenDialog("Databáze|*.xml", "/tmp"), btkstring("/tmp/vyber.xml"));
    // An empty script cancels; the path stays as it was.
    btkstring path = "stará.xml";
    EXPECT_FALSE(ExecuteSaveDialog("Databáze|*.xml", "/tmp", path));
    EXPECT_EQ(path, btkstring("stará.xml"));
    EXPECT_EQ(scripted.asked, 2);
    QColor color(Qt::red);
    scripted.colors.push_back(QColor(Qt::blue));
    EXPECT_TRUE(btkDialogs().chooseColor(color));
    EXPECT_EQ(color, QColor(Qt::blue));
    EXPECT_FALSE(btkDialogs().chooseColor(color));
    EXPECT_EQ(color, QColor(Qt::blue));
    gFileDialogs = nullptr;
    EXPECT_EQ(btkSetDialogBackend(previous), &scripted);
}

TEST(StartWindow, SplashHidesTheOkButtonTheAboutBoxShowsIt) {
    Tstartfrm::showSplash();
    ASSERT_NE(startfrm, nullptr);
    EXPECT_TRUE(startfrm->isVisible());
    EXPECT_FALSE(startfrm->btok->isVisible());
    EXPECT_EQ(btkFromQString(startfrm->version->text()), btkstring("Verze 6.0.8"));
    Tstartfrm::freeSplash();
    EXPECT_EQ(startfrm, nullptr);

    bool okShown = false;
    QTimer::singleShot(0, [&] {
        okShown = startfrm && startfrm->btok->isVisible();
        if (startfrm) startfrm->btok->click();
    });
    Tstartfrm::showAbout();
    EXPECT_TRUE(okShown);
    EXPECT_EQ(startfrm, nullptr);
}

}  // namespace
