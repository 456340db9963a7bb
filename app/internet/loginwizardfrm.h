// Tloginwizardfrm ("Přihlášení do databáze kantorixu"): logs the user in to
// the internet song database or creates an account there. Three pages:
// "Účet" (log in with an account, or create one), "Vytvoření nového účtu"
// and "Přihlášení". The login service opens it whenever something needs a
// logged-in user and nobody is (EnsureLoggedIn); the caller learns the
// outcome from the login state. The form is made once and reused: the
// edits keep what was typed, each run starts on the first page.
#pragma once

#include <functional>
#include <memory>

#include "frk/qt/vclwizard.h"

class QLineEdit;
class QRadioButton;
class QTabWidget;
class Tloginwizardfrm;

// Next leads from "Účet" to the login page or, for a new account, to the
// new-account page; back always returns to "Účet". Finish logs in or
// creates the account and closes the form only when that succeeded.
class LoginWizard final : public vclWizard {
public:
    explicit LoginWizard(Tloginwizardfrm& form) : form(form) {}
    void finish() override;
    void cancel() override;
    void next() override;
    void prev() override { showPage(0); }
    bool canNext() override { return currentPage() == 0; }
    bool canFinish() override { return currentPage() > 0; }

private:
    Tloginwizardfrm& form;
};

class Tloginwizardfrm final : public vclWizardForm {
public:
    Tloginwizardfrm();
    ~Tloginwizardfrm() override;

    // Shows the form modally from its first page.
    void Execute();
    void FormShow();
    // The chosen item of howaccount: 0 "Už mám", 1 "Vytvořit nový".
    int howaccountIndex() const;

    QTabWidget* pager = nullptr;
    QWidget* howaccount = nullptr;
    QRadioButton* howaccount0 = nullptr;  // "Už mám"
    QRadioButton* howaccount1 = nullptr;  // "Vytvořit nový"
    QLineEdit* login = nullptr;
    QLineEdit* password1 = nullptr;
    QLineEdit* password2 = nullptr;
    QLineEdit* email = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* llogin = nullptr;
    QLineEdit* lpassword = nullptr;
    std::unique_ptr<LoginWizard> wizard;

    // Tests: called with the form on its first page instead of running it.
    std::function<void(Tloginwizardfrm&)> runner;
};

extern Tloginwizardfrm* loginwizardfrm;

// Makes the login service open loginwizardfrm; null takes it away.
void InstallLoginWizard(Tloginwizardfrm* form);
