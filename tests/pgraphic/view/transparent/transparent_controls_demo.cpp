// The transparent controls on a picture, to look at: labels, buttons, group boxes, a panel and a
// bevel, each once transparent and, where it can be, once opaque.

#include "pgraphic/view/transparent/pg_bevel.h"
#include "pgraphic/view/transparent/pg_check_box.h"
#include "pgraphic/view/transparent/pg_group_box.h"
#include "pgraphic/view/transparent/pg_label.h"
#include "pgraphic/view/transparent/pg_panel.h"
#include "pgraphic/view/transparent/pg_radio_button.h"
#include "tests/pgraphic/view/transparent/picture_widget.h"

#include <QApplication>

int main(int argc, char** argv) {
    const QApplication App(argc, argv);
    TPictureWidget Window;
    Window.setWindowTitle("Transparent controls");
    Window.resize(520, 340);

    (new TPGLabel("A transparent label", &Window))->setGeometry(16, 12, 200, 24);
    auto* OpaqueLabel = new TPGLabel("An opaque label", &Window);
    OpaqueLabel->SetColor(Qt::white);
    OpaqueLabel->SetTransparent(false);
    OpaqueLabel->setGeometry(270, 12, 200, 24);

    auto* Group = new TPGGroupBox("Transparent group", &Window);
    Group->setGeometry(16, 48, 230, 120);
    (new TPGRadioButton("First choice", Group))->setGeometry(12, 28, 200, 24);
    (new TPGRadioButton("Second choice", Group))->setGeometry(12, 56, 200, 24);
    (new TPGCheckBox("Check box", Group))->setGeometry(12, 84, 200, 24);

    auto* OpaqueGroup = new TPGGroupBox("Opaque group", &Window);
    OpaqueGroup->SetColor(QColor(255, 255, 200));
    OpaqueGroup->SetTransparent(false);
    OpaqueGroup->setGeometry(270, 48, 230, 120);
    auto* OpaqueBox = new TPGCheckBox("Opaque check box", OpaqueGroup);
    OpaqueBox->SetColor(QColor(200, 230, 255));
    OpaqueBox->SetTransparent(false);
    OpaqueBox->setGeometry(12, 40, 200, 24);

    auto* Panel = new TPGPanel(&Window);
    Panel->SetCaption("Transparent panel");
    Panel->SetBevelInner(bvLowered);
    Panel->SetBorderWidth(3);
    Panel->setGeometry(16, 184, 230, 100);
    (new TPGCheckBox("On the panel", Panel))->setGeometry(12, 10, 200, 24);

    auto* OpaquePanel = new TPGPanel(&Window);
    OpaquePanel->SetCaption("Opaque panel");
    OpaquePanel->SetTransparent(false);
    OpaquePanel->setGeometry(270, 184, 230, 100);

    (new TPGBevel(&Window))->setGeometry(16, 296, 484, 30);

    Window.show();
    return QApplication::exec();
}
