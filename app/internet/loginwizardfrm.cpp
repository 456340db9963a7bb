#include "app/internet/loginwizardfrm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "songs/inetconnection.h"
#include "songs/uibridge.h"

Tloginwizardfrm* loginwizardfrm = nullptr;

namespace {

const char* const PasswordsDifferText = "Liší se heslo a jeho opis";

QLineEdit* addEdit(QFormLayout* rows, const char* name, const char* label, bool password) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    if (password) edit->setEchoMode(QLineEdit::Password);
    rows->addRow(btkToQString(label), edit);
    return edit;
}

class LoginWizardBridge final : public KxLoginWizard {
public:
    void execute() override {
        if (form) form->Execute();
    }
    Tloginwizardfrm* form = nullptr;
};

LoginWizardBridge bridge;

}  // namespace

void InstallLoginWizard(Tloginwizardfrm* form) {
    bridge.form = form;
    gLoginWizard = form ? &bridge : nullptr;
}

// ---- wizard

void LoginWizard::finish() {
    if (currentPage() == 2) {
        if (!InternetConnectionConfigured()) return;
        // The login service shows the server's reason when it fails.
        if (LoginUser(btkFromQString(form.llogin->text()), btkFromQString(form.lpassword->text()))) form.accept();
        return;
    }
    if (currentPage() == 1) {
        if (form.password1->text() != form.password2->text()) {
            ErrorBox(PasswordsDifferText);
            return;
        }
        if (!InternetConnectionConfigured()) return;
        if (CreateAccountAndLogin(btkFromQString(form.login->text()), btkFromQString(form.password1->text())))
            form.accept();
    }
}

void LoginWizard::cancel() { form.reject(); }

void LoginWizard::next() { showPage(form.howaccountIndex() == 0 ? 2 : 1); }

// ---- form

Tloginwizardfrm::Tloginwizardfrm() {
    setObjectName("loginwizardfrm");
    setWindowTitle(btkToQString("Přihlášení do databáze kantorixu"));
    auto* column = new QVBoxLayout(this);
    head = new Tvclwizardheadfrm(this);
    pager = new QTabWidget(this);
    pager->setObjectName("pager");
    foot = new Tvclwizardfootfrm(this);
    column->addWidget(head);
    column->addWidget(pager, 1);
    column->addWidget(foot);

    QFormLayout* rows = btkAddPanelPage<QFormLayout>(pager, "JvWizardInteriorPage1", "Účet");
    auto* group = new QGroupBox(btkToQString("Účet v databázi kantorixu"));
    group->setObjectName("howaccount");
    auto* choices = new QVBoxLayout(group);
    howaccount0 = new QRadioButton(btkToQString("Už mám"), group);
    howaccount1 = new QRadioButton(btkToQString("Vytvořit nový"), group);
    choices->addWidget(howaccount0);
    choices->addWidget(howaccount1);
    howaccount0->setChecked(true);
    howaccount = group;
    rows->addRow(group);

    rows = btkAddPanelPage<QFormLayout>(pager, "JvWizardInteriorPage2", "Vytvoření nového účtu");
    login = addEdit(rows, "login", "Přihlašovací jméno", false);
    password1 = addEdit(rows, "password1", "Heslo", true);
    password2 = addEdit(rows, "password2", "Kontrola hesla", true);
    email = addEdit(rows, "email", "E-mail", false);
    name = addEdit(rows, "name", "Jméno", false);

    rows = btkAddPanelPage<QFormLayout>(pager, "JvWizardInteriorPage3", "Přihlášení");
    llogin = addEdit(rows, "llogin", "Přihlašovací jméno", false);
    lpassword = addEdit(rows, "lpassword", "Heslo", true);

    wizard = std::make_unique<LoginWizard>(*this);
    wizard->init(pager, head, foot);
    resize(644, 360);
}

Tloginwizardfrm::~Tloginwizardfrm() {
    if (bridge.form == this) InstallLoginWizard(nullptr);
}

int Tloginwizardfrm::howaccountIndex() const {
    if (howaccount0->isChecked()) return 0;
    return howaccount1->isChecked() ? 1 : -1;
}

void Tloginwizardfrm::FormShow() { wizard->showPage(0); }

void Tloginwizardfrm::Execute() {
    setResult(QDialog::Rejected);
    FormShow();
    if (runner)
        runner(*this);
    else
        exec();
}
