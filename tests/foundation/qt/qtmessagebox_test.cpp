// The Qt message boxes behind ErrorBox, InfoBox and QuestionBox: caption,
// icon, buttons, plain text, and the answers of each mode. A timer answers
// each box the way a user would.
#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkqtmessagebox.h"

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
    QStringList buttonTexts;  // in the order of the standard buttons
};

class QtMessageBoxes : public testing::Test {
protected:
    void SetUp() override { btkInstallQtMessageBoxes(); }
    void TearDown() override { btkSetMessageBoxBackend(nullptr); }

    // The next box shown is recorded and then answered: with the button
    // given, or closed by Esc when it is NoButton.
    void answerNextBox(QMessageBox::StandardButton button) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [this, timer, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            timer->stop();
            timer->deleteLater();
            seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->textFormat(), {}};
            for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                if (QAbstractButton* shown = box->button(b)) seen.buttonTexts << shown->text();
            if (button == QMessageBox::NoButton)
                box->reject();
            else
                box->button(button)->click();
        });
        timer->start();
    }

    SeenBox seen;
};

TEST_F(QtMessageBoxes, ErrorAndInformationBoxes) {
    answerNextBox(QMessageBox::Ok);
    ErrorBox("Soubor <db/písně.xml> nelze uložit");
    EXPECT_EQ(seen.caption, QStringLiteral("Kantorix"));
    EXPECT_EQ(seen.text, QString::fromUtf8(u8"Soubor <db/písně.xml> nelze uložit"));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);

    answerNextBox(QMessageBox::Ok);
    InfoBox("Hotovo");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST_F(QtMessageBoxes, YesNoCancelAnswers) {
    const std::pair<QMessageBox::StandardButton, int> cases[] = {
        {QMessageBox::Yes, 1}, {QMessageBox::No, 2}, {QMessageBox::Cancel, 0}, {QMessageBox::NoButton, 0}};
    for (auto [button, expected] : cases) {
        answerNextBox(button);
        EXPECT_EQ(QuestionBox("Uložit změny?", "ync"), expected) << button;
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
}

// The buttons are Czech; a question that explains its buttons in its text
// names them as the text does.
TEST_F(QtMessageBoxes, CzechButtonNames) {
    const struct {
        const char* text;
        const char* mode;
        QStringList buttons;
    } rows[] = {
        {"Smazat?", "yn", {"Ano", "Ne"}},
        {"Uložit?", "ync", {"Ano", "Ne", "Storno"}},
        {"Hotovo", "", {"OK"}},
        {"Uložit?\nANO = všechny budou uloženy\nNE = žádná nebude uložena\nStorno = kantorix nebude ukončen\n",
         "ync",
         {"ANO", "NE", "Storno"}},
    };
    for (const auto& r : rows) {
        answerNextBox(r.buttons.size() == 1 ? QMessageBox::Ok : QMessageBox::Yes);
        QuestionBox(r.text, r.mode);
        EXPECT_EQ(seen.buttonTexts, r.buttons) << r.text;
    }
}

TEST_F(QtMessageBoxes, YesNoAnswersAndOtherModes) {
    answerNextBox(QMessageBox::Yes);
    EXPECT_EQ(QuestionBox("Smazat?", "yn"), 1);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    answerNextBox(QMessageBox::No);
    EXPECT_EQ(QuestionBox("Smazat?", "yn"), 2);

    // Modes are exact: anything else is a plain OK box without an icon.
    for (const char* mode : {"", "YN", "ny", "ync "}) {
        answerNextBox(QMessageBox::Ok);
        EXPECT_EQ(QuestionBox("Otázka", mode), 0) << mode;
        EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
        EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    }
}

}  // namespace
