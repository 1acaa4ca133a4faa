#include "app/ui/general_page.h"

#include "app/ui/control_placing.h"
#include "widgets/icon_file_list_box.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QPushButton* Button(QWidget* Page, const QString& Caption, const char* Name, int Left, int Top,
                    int Width) {
    return PlaceButton(new QPushButton(Caption, Page), QString::fromLatin1(Name), Left, Top, Width,
                       25);
}

} // namespace

TGeneralPage::TGeneralPage(const QString& HomePage, QWidget* Parent) : QWidget(Parent) {
    Label2 = PlaceLabel(new QLabel(QStringLiteral("Text File to use:"), this),
                        QStringLiteral("Label2"), 22, 16);
    Files = Place(new TIconFileListBox(this), QStringLiteral("Files"), 8, 32, 129, 177);
    Files->SetMask("*.txt");
    Label10 = PlaceLabel(new QLabel(QStringLiteral("Question:"), this), QStringLiteral("Label10"),
                         150, 36);
    Edit1 = Place(new QLineEdit(this), QStringLiteral("Edit1"), 208, 32, 385, 22);
    Label11 =
        PlaceLabel(new QLabel(QStringLiteral("Answer:"), this), QStringLiteral("Label11"), 152, 80);
    Memo1 = Place(new QPlainTextEdit(this), QStringLiteral("Memo1"), 208, 76, 385, 85);
    Memo1->setTabChangesFocus(true); // it shows the answer; Tab moves on as in every field

    btRand = Button(this, QStringLiteral("Select"), "btRand", 224, 176, 89);
    btUse = Button(this, QStringLiteral("Use"), "btUse", 360, 176, 89);
    btSaveLogos = Button(this, QStringLiteral("Save Logos"), "btSaveLogos", 488, 176, 89);
    btNavigate = Button(this, QStringLiteral("Go to ") + HomePage, "btNavigate", 49, 228, 225);
    btHelp = Button(this, QStringLiteral("Help"), "btHelp", 49, 260, 225);
    btStart = Button(this, QStringLiteral("Create a shortcut in the Startup Group"), "btStart", 337,
                     228, 225);
    btSaveExit = Button(this, QStringLiteral("Save Changes and Exit"), "btSaveExit", 337, 260, 225);
    // The window's default button keeps its frame whenever no other button has the focus. It is
    // no auto-default button: outside a dialog, Qt takes the default state from such a button
    // for good once it loses the focus. Return presses it still while it has the focus.
    btSaveExit->setDefault(true);
    btSaveExit->setAutoDefault(false);
}
