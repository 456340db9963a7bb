// The song-book windows: a book made from the song stack, its type edited,
// printed into a PDF file, saved and loaded again; songs dropped from the
// song grid; the type list refusing names; failed saves.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "app/book/kxtypefrm.h"
#include "app/book/kxtypesfrm.h"
#include "app/book/melodarfrm.h"
#include "app/main/cmdlinefrm.h"
#include "app/main/mainfrm.h"
#include "app/main/searchfrm.h"
#include "app/main/showlogfrm.h"
#include "app/main/songgridmodel.h"
#include "app/main/vcllogwinfrm.h"
#include "app/main/winlistfrm.h"
#include "app/qtfiledialogs.h"
#include "app/song/editsongfrm.h"
#include "app/song/songvfrm.h"
#include "app/windows.h"
#include "appenv.h"
#include "foundation/btkfile.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"
#include "songbook/kxtype.h"
#include "songs/kxdatabase.h"
#include "songs/kxspace.h"
#include "songs/songcolumns.h"
#include "songs/songcompare.h"
#include "songs/uibridge.h"
#include "tests/foundation/qt/pdf_tools.h"

namespace {

btkstring runTool(const std::string& command) {
    btkstring out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out += btkstring(std::string(buffer, n).c_str());
        pclose(pipe);
    }
    return out;
}

// Enters, moves over the point and drops there, as a drag does; true when
// the drop was taken.
bool dragOnto(QWidget* target, QPoint at, const QMimeData* data) {
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(target, &leave);
        return false;
    }
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

class BookTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder.write("options.xml", "<options db=\"0\" />");
        folder.write("db/alfa.xml", SongDatabaseXml({"Anna", "Bude", "Cesta", "Den"}));
        folder.write("melodary/zpevnik.kxt",
                     "<kxtype savediff=\"0\" basetype=\"\"><page hcnt=\"2\" leftsp=\"5000\"/></kxtype>");
        previous = btkSetDialogBackend(&dialogs);
        InstallQtFileDialogs();
        btkInstallPrinterMaker();
        start();
        idle();
    }
    void TearDown() override {
        end();
        btkSetPrinterMaker({});
        gFileDialogs = nullptr;
        btkSetDialogBackend(previous);
    }
    void trigger(QMainWindow* window, btkActionList& actions, const char* name) {
        QAction* action = actions.find(name);
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        (void)window;
        action->trigger();
        idle();
    }
    Tmelodarfrm* bookFromStack();
    Tmelodarfrm* bookWindow(int i = 0) {
        return i < OpenMelodars().count() ? dynamic_cast<Tmelodarfrm*>(OpenMelodars()[i]->window) : nullptr;
    }
    KxSong* song(int i) { return gKxSpace->getView(0)->asDatabase()->songs[i]; }
    std::vector<std::string> itemTexts(const Melodar& book) {
        std::vector<std::string> texts;
        for (int i = 0; i < book.GetItemCount(); ++i) texts.push_back(book.GetItem(i)->displayText().c_str());
        return texts;
    }

    btkScriptedDialogs dialogs;
    btkDialogBackend* previous = nullptr;
};

// Three songs of the stack in a new book with two columns of logical pages.
Tmelodarfrm* BookTest::bookFromStack() {
    for (int i : {2, 0, 3}) song(i)->putOnStack();
    boxes().answer(btkID_YES);
    trigger(mainfrm, mainfrm->actionlist, "a_kxnew");
    EXPECT_TRUE(boxShown("Naplnit melodar písněmi ze zásobníku?"));
    Tmelodarfrm* window = bookWindow();
    if (!window) return nullptr;
    kxtypefrm->runner = [](Tkxtypefrm& form) {
        form.hcnt->setValue(2);
        return int(QDialog::Accepted);
    };
    trigger(window, window->actionlist, "a_editkxtype");
    EXPECT_EQ(window->getBook()->type->hcnt, 2);
    return window;
}

TEST_F(BookTest, TranspositionsHaveTheMainWindowsCaptionsEverywhere) {
    Tmelodarfrm* book = bookFromStack();
    ASSERT_NE(book, nullptr);
    const struct {
        const char* window;
        btkActionList& actions;
    } windows[] = {{"melodar", book->actionlist}, {"editor", editsongfrm->actionlist}};
    for (const auto& w : windows)
        for (const char* name : {"a_trnext", "a_trprev", "a_trnext5", "a_trprev5", "a_trsimple", "a_treasy"}) {
            QAction* action = w.actions.find(name);
            ASSERT_NE(action, nullptr) << w.window << " " << name;
            EXPECT_EQ(btkFromQString(action->text()), btkFromQString(mainfrm->actionlist.find(name)->text()))
                << w.window << " " << name;
        }
    EXPECT_EQ(btkFromQString(book->actionlist.find("a_trorig")->text()), btkstring("Původní"));
}

TEST_F(BookTest, HighlightFlagsAndTextStayWithOneItemAcrossInsertAndSort) {
    Tmelodarfrm* window = bookFromStack();  // Cesta, Anna, Den
    ASSERT_NE(window, nullptr);
    Melodar* book = window->getBook();
    KxData* cesta = book->GetItem(0);
    cesta->newpage = true;
    window->selectIndex(0);
    const struct {
        const char* change;
        std::function<void()> run;
        int row;
    } changes[] = {
        {"Vložit obsah", [&] { trigger(window, window->actionlist, "a_insertoutline"); }, 1},
        {"sort by title", [&] { book->sortSongs(StandardColumnCompare(COL_TITLE)); }, 2},
    };
    for (const auto& c : changes) {
        c.run();
        EXPECT_EQ(window->list->currentRow(), c.row) << c.change;
        EXPECT_EQ(book->GetItem(window->selectedIndex()), cesta) << c.change;
        EXPECT_TRUE(window->chnewpage->isChecked()) << c.change;
    }
    // Another item shows its own flags; the table of contents has no text.
    window->selectIndex(0);
    EXPECT_FALSE(window->chnewpage->isChecked());
    EXPECT_EQ(window->songv->getSongText(), btkstring());
}

TEST_F(BookTest, BookFromTheStackSavedAndLoadedAgain) {
    Tmelodarfrm* window = bookFromStack();
    ASSERT_NE(window, nullptr);
    Melodar* book = window->getBook();
    ASSERT_EQ(window->list->count(), 3);
    EXPECT_EQ(btkFromQString(window->list->item(0)->text()), btkstring("Cesta ()"));
    window->list->setCurrentRow(2);
    EXPECT_EQ(window->songv->getSongText(), song(3)->text);

    // Flags, save, close, load: the same items with the same flags.
    window->selectIndex(1);
    window->chnewpage->setFocus();
    window->chnewpage->click();
    window->selectIndex(2);
    window->chfixtoend->click();
    boxes().answer(btkID_NO);
    window->close();
    idle();
    ASSERT_EQ(OpenMelodars().count(), 1);  // "no" keeps the changed book
    const btkstring file = folder.path("melodary/kniha.kx");
    dialogs.files.push_back(file);
    EXPECT_EQ(btkFromQString(window->windowTitle()), btkstring("Melodar"));
    trigger(window, window->actionlist, "a_save");
    ASSERT_TRUE(std::filesystem::exists(file.c_str()));
    EXPECT_EQ(btkFromQString(window->windowTitle()), btkstring("Melodar - kniha.kx"));
    const std::vector<std::string> texts = itemTexts(*book);
    std::vector<std::array<bool, 4>> flags;
    for (int i = 0; i < book->GetItemCount(); ++i) {
        const KxData* item = book->GetItem(i);
        flags.push_back({item->newpage, item->skippage, item->fixtobegin, item->fixtoend});
    }
    EXPECT_TRUE(flags[1][0]);
    EXPECT_TRUE(flags[2][3]);

    // Saved: closing asks nothing.
    boxes().reset();
    window->close();
    idle();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(OpenMelodars().count(), 0);

    dialogs.files.push_back(file);
    trigger(mainfrm, mainfrm->actionlist, "a_kxload");
    ASSERT_EQ(OpenMelodars().count(), 1);
    const Melodar& loaded = *OpenMelodars()[0];
    EXPECT_EQ(itemTexts(loaded), texts);
    EXPECT_EQ(btkFromQString(bookWindow()->windowTitle()), btkstring("Melodar - kniha.kx"));
    for (int i = 0; i < loaded.GetItemCount(); ++i) {
        const KxData* item = loaded.GetItem(i);
        EXPECT_EQ((std::array<bool, 4>{item->newpage, item->skippage, item->fixtobegin, item->fixtoend}), flags[i]);
    }
    EXPECT_EQ(loaded.type->hcnt, 2);
}

// At exit only books with unsaved changes are at stake: they are counted
// and asked about; with every book saved nothing is asked.
TEST_F(BookTest, ExitAsksOnlyAboutChangedBooks) {
    Tmelodarfrm* window = bookFromStack();
    ASSERT_NE(window, nullptr);
    trigger(mainfrm, mainfrm->actionlist, "a_kxnew");  // not filled: unchanged
    ASSERT_EQ(OpenMelodars().count(), 2);
    boxes().reset();
    EXPECT_FALSE(mainfrm->close());
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].text, btkstring("Melodary s neuloženými změnami: 1. Zavřít je bez uložení změn?"));

    dialogs.files.push_back(folder.path("melodary/kniha.kx"));
    trigger(window, window->actionlist, "a_save");
    boxes().reset();
    EXPECT_TRUE(mainfrm->close());
    EXPECT_TRUE(boxes().shown().empty());
}

// A book is named after its file: the title of its PDF and its line in the
// window list; a book never saved has the default name. Without a printer
// the PDF page keeps a type without margins 5 mm off the sheet's edges.
TEST_F(BookTest, EverySidePrintedIntoAPdfFile) {
    Tmelodarfrm* window = bookFromStack();
    ASSERT_NE(window, nullptr);
    Melodar* book = window->getBook();
    book->type->margintype = 0;
    book->type->leftsp = book->type->topsp = book->type->rightsp = book->type->bottomsp = 0;
    ASSERT_FALSE(book->type->landscape);
    book->applyType();
    ASSERT_TRUE(book->save(folder.path("melodary/Lesní zpěvník.kx")));
    boxes().answer(btkID_NO);  // a second book, without the stack
    trigger(mainfrm, mainfrm->actionlist, "a_kxnew");
    std::vector<btkstring> listed;
    winlistfrm->runner = [&](Twinlistfrm& form) {
        for (int i = 0; i < form.list->count(); ++i) listed.push_back(btkFromQString(form.list->item(i)->text()));
        return int(QDialog::Rejected);
    };
    trigger(mainfrm, mainfrm->actionlist, "a_kxselect");
    EXPECT_EQ(listed, (std::vector<btkstring>{"Melodar Lesní zpěvník", "Melodar melodar"}));
    // No printer here: the PDF file is asked for, then every side printed.
    const btkstring pdf = folder.path("kniha.pdf");
    dialogs.files.push_back(pdf);
    printrangefrm->runner = [](Tprintrangefrm&) { return int(QDialog::Accepted); };
    trigger(window, window->actionlist, "a_printall");
    ASSERT_TRUE(book->sheets);
    const btkstring info = runTool(std::string("pdfinfo '") + pdf.c_str() + "'");
    const char* pages = std::strstr(info.c_str(), "Pages:");
    ASSERT_NE(pages, nullptr) << info.c_str();
    EXPECT_EQ(std::atoi(pages + 6), 2 * book->sheets->sheets());
    const char* title = std::strstr(info.c_str(), "Title:");
    ASSERT_NE(title, nullptr) << info.c_str();
    EXPECT_EQ(btkstring(std::string(title + 6, std::strcspn(title + 6, "\n")).c_str()).trimmed(),
              btkstring(reinterpret_cast<const char*>(u8"Lesní zpěvník")));
    const btkstring text = runTool(std::string("pdftotext '") + pdf.c_str() + "' -");
    for (const char* title : {"Anna", "Cesta", "Den"}) EXPECT_NE(std::strstr(text.c_str(), title), nullptr) << title;
    const std::vector<kx6test::PdfWord> words = kx6test::pdfWords(pdf.c_str());
    ASSERT_FALSE(words.empty());
    const double edge = 5 * 72 / 25.4 - 0.1, width = 595.28, height = 841.89;  // points, A4 portrait
    for (const kx6test::PdfWord& w : words) {
        EXPECT_GE(std::min(w.xMin, w.yMin), edge) << w.text;
        EXPECT_LE(w.xMax, width - edge) << w.text;
        EXPECT_LE(w.yMax, height - edge) << w.text;
    }
}

// Without a printer a new book lays out at once on the PDF page: sheet
// preview and counts show before anything is printed; each print asks for
// its file (an existing one only overwritten after "Ano"; "Ne" shows the
// dialog again, cancelled here).
TEST_F(BookTest, WithoutAPrinterPreviewAndCountsShowAtOnce) {
    for (int i : {2, 0, 3}) song(i)->putOnStack();
    boxes().answer(btkID_YES);
    trigger(mainfrm, mainfrm->actionlist, "a_kxnew");
    Tmelodarfrm* window = bookWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialogs.asked, 0);
    ASSERT_GT(window->sheetSideCount(), 0);
    EXPECT_EQ(window->fpagescnt->text().toInt(), window->sheetSideCount());
    EXPECT_GT(window->logpagescnt->text().toInt(), 0);
    EXPECT_GT(window->pp->width(), 100);
    EXPECT_GT(window->pplog->height(), 100);
    EXPECT_FALSE(window->curpagelabel->text().isEmpty());

    const btkstring pdf = folder.path("kniha.pdf");
    const struct {
        int answer;  // to the overwrite question, 0: none expected
        bool printed;
    } prints[] = {{0, true}, {btkID_NO, false}, {btkID_YES, true}};
    for (const auto& p : prints) {
        std::filesystem::remove(pdf.c_str());
        if (p.answer) folder.write("kniha.pdf", "old");
        boxes().reset();
        if (p.answer) boxes().answer(p.answer);
        dialogs.files.push_back(pdf);
        trigger(window, window->actionlist, "a_printpage");
        EXPECT_EQ(boxes().shown().size(), p.answer ? 1u : 0u) << p.answer;
        EXPECT_EQ(folder.read("kniha.pdf").substr(0, 5) == btkstring("%PDF-"), p.printed) << p.answer;
    }
    EXPECT_EQ(dialogs.asked, 4);
    // Proposed in the folder of the books, then in the one used last.
    const btkstring books = programDir().join("melodary"), last = btkFile(pdf).dirPart();
    EXPECT_EQ(dialogs.saveFolders, (std::vector<btkstring>{books, last, last, last}));
    boxes().answer(btkID_YES);
    window->close();
    idle();
}

// Windows larger than the screen or placed partly beyond it open inside the
// screen's available area; a window moved by the user keeps its place.
// The windows opened from the main window fit the screen and stay above
// the main window (transient for it), so a press into the song grid does
// not cover a book waiting for a drop; none stays on top of everything,
// which would cover modal dialogs too.
TEST_F(BookTest, WindowsOpenInsideTheScreenAboveTheMainWindow) {
    const QRect area = mainfrm->screen()->availableGeometry();
    btkRef<LogWindow> log;
    const struct {
        const char* action;  // null: opened by a task
        std::function<QWidget*()> window;
    } rows[] = {
        {"a_kxnew", [this]() -> QWidget* { return bookWindow(); }},       // 900 x 640
        {"a_cmdline", [] { return static_cast<QWidget*>(cmdlinefrm); }},  // at 472, 498
        {"a_showlog", [] { return static_cast<QWidget*>(showlogfrm); }},
        {"a_dbsearch", [] { return static_cast<QWidget*>(searchfrm); }},
        {nullptr,
         [&log]() -> QWidget* {
             log = OpenLogWindow("dupltest", "Test stejných písní", "");
             return OpenLogWindowCount() ? OpenLogWindowAt(0) : nullptr;
         }},
    };
    for (const auto& r : rows) {
        if (r.action) trigger(mainfrm, mainfrm->actionlist, r.action);
        QWidget* window = r.window();
        const char* name = r.action ? r.action : "log";
        ASSERT_TRUE(window && window->isVisible()) << name;
        EXPECT_TRUE(area.contains(window->frameGeometry())) << name;
        ASSERT_NE(window->windowHandle(), nullptr) << name;
        EXPECT_EQ(window->windowHandle()->transientParent(), mainfrm->windowHandle()) << name;
        // Only these kinds are marked transient for an X11 window manager.
        const Qt::WindowType kind = window->windowType();
        EXPECT_TRUE(kind == Qt::Dialog || kind == Qt::Tool) << name << " " << kind;
        EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint) << name;
    }
    cmdlinefrm->hide();
    cmdlinefrm->move(area.topLeft() + QPoint(10, 20));
    trigger(mainfrm, mainfrm->actionlist, "a_cmdline");
    EXPECT_EQ(cmdlinefrm->pos(), area.topLeft() + QPoint(10, 20));
    bookWindow()->close();
    idle();
}

// The type combo offers the built-in type and every type file, follows the
// type list while the book is open, and changes the book's base type.
TEST_F(BookTest, TypeComboFollowsTheTypeList) {
    trigger(mainfrm, mainfrm->actionlist, "a_kxnew");
    Tmelodarfrm* window = bookWindow();
    ASSERT_NE(window, nullptr);
    auto offered = [window] {
        std::vector<std::string> names;
        for (int i = 0; i < window->qkxtype->count(); ++i)
            names.push_back(btkFromQString(window->qkxtype->itemText(i)).c_str());
        return names;
    };
    EXPECT_EQ(offered(), (std::vector<std::string>{"default", "zpevnik"}));
    EXPECT_EQ(window->qkxtype->currentText(), QStringLiteral("default"));
    kxtypesfrm->runner = [&](Tkxtypesfrm& form) {
        form.newkxtname->setText(btkToQString("Můj zpěvník"));
        form.Button3->click();
        EXPECT_EQ(offered(), (std::vector<std::string>{"default", "Můj zpěvník", "zpevnik"}));
        form.kxtypes->setCurrentRow(1);  // zpevnik
        form.Button2->click();
        return int(QDialog::Rejected);
    };
    trigger(mainfrm, mainfrm->actionlist, "a_kxtypes");
    EXPECT_EQ(offered(), (std::vector<std::string>{"default", "Můj zpěvník"}));
    window->qkxtype->setCurrentIndex(1);
    EXPECT_EQ(window->getBook()->type->basetype, btkstring("Můj zpěvník"));
    EXPECT_EQ(window->qkxtype->currentIndex(), 1);

    // The editor labels its name and base type, and the combo shows the
    // long name whole.
    kxtypefrm->runner = [](Tkxtypefrm& form) {
        auto* layout = qobject_cast<QFormLayout*>(form.kxtypename->parentWidget()->layout());
        EXPECT_NE(layout, nullptr);
        if (!layout) return int(QDialog::Rejected);
        EXPECT_NE(layout->labelForField(form.kxtypename), nullptr);
        bool baseLabelled = false;
        for (int row = 0; row < layout->rowCount(); ++row) {
            QLayoutItem* field = layout->itemAt(row, QFormLayout::FieldRole);
            if (field && field->layout() && field->layout()->indexOf(form.basetype) >= 0)
                baseLabelled = layout->itemAt(row, QFormLayout::LabelRole) != nullptr;
        }
        EXPECT_TRUE(baseLabelled);
        form.basetype->addItem(btkToQString("Můj zpěvník"));
        EXPECT_GE(form.basetype->sizeHint().width(),
                  form.basetype->fontMetrics().horizontalAdvance(btkToQString("Můj zpěvník")));
        EXPECT_TRUE(form.kxtypename->isReadOnly());
        return int(QDialog::Rejected);
    };
    trigger(window, window->actionlist, "a_editkxtype");
    boxes().answer(btkID_YES);
    window->close();
    idle();
}

TEST_F(BookTest, SongsDroppedFromTheGridJoinTheEnd) {
    trigger(mainfrm, mainfrm->actionlist, "a_kxnew");  // empty stack: no question
    EXPECT_TRUE(boxes().shown().empty());
    Tmelodarfrm* window = bookWindow();
    ASSERT_NE(window, nullptr);
    window->getBook()->dropSong(*song(3));
    window->resize(900, 640);
    window->show();
    idle();
    SongGridModel* model = mainfrm->list->model;
    for (int row : {0, 1}) {
        std::unique_ptr<QMimeData> data(model->mimeData({model->index(row, 0)}));
        ASSERT_TRUE(data);
        const QPoint over = window->list->visualItemRect(window->list->item(0)).center();
        EXPECT_TRUE(dragOnto(window->list->viewport(), over, data.get()));
    }
    idle();
    const btkstring first = mainfrm->list->songAt(0)->title, second = mainfrm->list->songAt(1)->title;
    EXPECT_EQ(itemTexts(*window->getBook()), (std::vector<std::string>{"Den ()", std::string(first.c_str()) + " ()",
                                                                       std::string(second.c_str()) + " ()"}));
    // An entry dragged within the list moves to the entry under the pointer.
    window->selectIndex(0);
    EXPECT_TRUE(window->acceptsDrop(nullptr, true, 2));
    EXPECT_FALSE(window->acceptsDrop(nullptr, true, 0));
    window->drop(nullptr, true, 2);
    EXPECT_EQ(itemTexts(*window->getBook())[2], "Den ()");
    EXPECT_EQ(window->selectedIndex(), 2);
    // Other data is refused.
    QMimeData other;
    other.setText(QStringLiteral("Anna"));
    EXPECT_FALSE(dragOnto(window->list->viewport(), QPoint(5, 5), &other));
    EXPECT_EQ(window->getBook()->GetItemCount(), 3);
}

TEST_F(BookTest, TypeListRefusesNamesThatCannotBeTypeFiles) {
    std::filesystem::create_directory(folder.path("melodary/slozka.kxt").c_str());
    kxtypesfrm->runner = [this](Tkxtypesfrm& form) {
        const struct {
            const char* name;
            const char* error;
        } rows[] = {
            {"", "Není vyplněno jméno nového typu melodaru"},
            {"DeFault", "Typ melodaru 'default' je vyhrazené jméno pro implicitní typ melodaru"},
            {"ZPEVNIK", "Typ melodaru už existuje"},
            {"a/b", nullptr},
            {"a\\b", nullptr},
            {".skryty", nullptr},
            {"slozka", nullptr},  // its file cannot be written: a folder stands there
        };
        for (const auto& r : rows) {
            boxes().reset();
            form.newkxtname->setText(btkToQString(r.name));
            form.Button3->click();
            EXPECT_EQ(boxes().shown().size(), 1u) << r.name;
            if (r.error) {
                EXPECT_TRUE(boxShown(r.error)) << r.name;
            }
        }
        EXPECT_EQ(form.kxtypes->count(), 1);
        form.newkxtname->setText(QStringLiteral("novy"));
        form.Button3->click();
        EXPECT_EQ(form.kxtypes->count(), 2);
        form.kxtypes->setCurrentRow(1);  // zpevnik
        form.Button2->click();
        EXPECT_EQ(form.kxtypes->count(), 1);
        return int(QDialog::Rejected);
    };
    trigger(mainfrm, mainfrm->actionlist, "a_kxtypes");
    EXPECT_TRUE(std::filesystem::exists(folder.path("melodary/novy.kxt").c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder.path("melodary/zpevnik.kxt").c_str()));
    const btkstring made = folder.read("melodary/novy.kxt");
    EXPECT_NE(std::strstr(made.c_str(), "savediff=\"0\""), nullptr);
    EXPECT_NE(std::strstr(made.c_str(), "basetype=\"\""), nullptr);
}

// A margin beyond the editor's range is clamped on reading; values the user
// leaves alone stay as read; cancel changes nothing.
TEST_F(BookTest, TypeEditorWritesBackOnlyWhatChanged) {
    FileKxType type("zpevnik");
    ASSERT_EQ(type.leftsp, KxTypeLimits::MaxMillimetres);
    kxtypefrm->runner = [](Tkxtypefrm& form) {
        EXPECT_EQ(form.basetype->count(), 0);  // never its own base
        form.vcnt->setValue(3);
        form.hcnt->setValue(1);
        form.hcnt->setValue(2);
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(kxtypefrm->EditKxType(type));
    EXPECT_EQ(type.vcnt, 1);
    kxtypefrm->runner = [](Tkxtypefrm& form) {
        form.songspacehi->setValue(150);
        form.header->setText(QStringLiteral("$c"));
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(kxtypefrm->EditKxType(type));
    EXPECT_EQ(type.leftsp, KxTypeLimits::MaxMillimetres);
    EXPECT_EQ(type.songspacehi, 150);
    EXPECT_EQ(type.header, btkstring("$c"));
    EXPECT_EQ(type.hcnt, 2);
}

// A new base: "yes" rebases the values not changed against the old base,
// "no" only stores the base.
TEST_F(BookTest, TypeEditorBaseChangeKeepsChangedValues) {
    folder.write("melodary/zaklad.kxt", "<kxtype><page hcnt=\"4\" vcnt=\"3\"/></kxtype>");
    for (int answer : {btkID_YES, btkID_NO}) {
        FileKxType type("zpevnik");
        kxtypefrm->runner = [&](Tkxtypefrm& form) {
            boxes().answer(answer);
            form.basetype->setCurrentIndex(form.basetype->findText(QStringLiteral("zaklad")));
            return int(QDialog::Accepted);
        };
        ASSERT_TRUE(kxtypefrm->EditKxType(type));
        EXPECT_EQ(type.basetype, btkstring("zaklad"));
        EXPECT_EQ(type.hcnt, 2) << answer;  // changed against the default type
        EXPECT_EQ(type.vcnt, answer == btkID_YES ? 3 : 1);
    }
}

TEST_F(BookTest, FailedSaveKeepsTheOldFileAndName) {
    trigger(mainfrm, mainfrm->actionlist, "a_kxnew");
    Tmelodarfrm* window = bookWindow();
    ASSERT_NE(window, nullptr);
    window->getBook()->dropSong(*song(0));
    for (const char* bad : {"melodary/.skryty", "chybi/kniha.kx"}) {
        boxes().reset();
        dialogs.files.push_back(folder.path(bad));
        EXPECT_FALSE(window->saveAs()) << bad;
        EXPECT_EQ(boxes().shown().size(), 1u) << bad;
        EXPECT_FALSE(std::filesystem::exists(folder.path(bad).c_str())) << bad;
        EXPECT_EQ(window->getBook()->fileName, btkstring()) << bad;
    }
    boxes().answer(btkID_YES);
    window->close();
    idle();
}

}  // namespace
