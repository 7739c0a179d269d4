// SPDX-License-Identifier: GPL-3.0-or-later
// The about window.
#include "shell/Info.h"

#include "common/AppIcon.h"
#include "common/Controls.h"
#include "common/ScaleToScreen.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TForm_Info *Form_Info = nullptr;

namespace {
constexpr int IconSize = 33;
} // namespace

TForm_Info::TForm_Info(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Info"));
    setWindowTitle(QStringLiteral("Info"));
    resize(298, 170);
    createPanel();

    OKButton = new QPushButton(StandardIconWhenNeeded(QStyle::SP_DialogOkButton),
                               QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    QFont font = OKButton->font();
    font.setBold(true);
    OKButton->setFont(font);
    OKButton->setGeometry(111, 128, 75, 30);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TForm_Info::OKButtonClick);

    FormCreate();
}

void TForm_Info::createPanel()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(8, 8, 282, 110);

    // The sunken outer edge holds a raised inner one.
    auto *inner = new QFrame(Panel1);
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    inner->setGeometry(2, 2, 278, 106);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setScaledContents(true);
    // The larger picture scaled down to the label stays sharper than the 32-pixel one stretched.
    ProgramIcon->setPixmap(AppIcon::Icon().pixmap(64, 64));
    ProgramIcon->setGeometry(16, 16, IconSize, IconSize);

    ProductName = CreateBoldLabel(Panel1, QStringLiteral("ProductName"), ProductNameText, Qt::black,
                                  {64, 18});
    Version = CreateBoldLabel(Panel1, QStringLiteral("Version"), VersionText, Qt::black, {64, 52});
}

void TForm_Info::FormCreate()
{
    ScaleToScreen(this);
    UseDialogBorder();
    setCentredOnScreen(true);
}

void TForm_Info::showEvent(QShowEvent *event)
{
    ModalForm::showEvent(event);
    OKButton->setFocus();
}

// Escape closes the window as its OK button does.
void TForm_Info::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        OKButtonClick();
        return;
    }
    ModalForm::keyPressEvent(event);
}

void TForm_Info::OKButtonClick()
{
    done(QDialog::Accepted);
}
