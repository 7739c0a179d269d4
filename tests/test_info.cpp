// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "shell/Info.h"
#include "shell/Kr_progr.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

class InfoTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::createProgram(); }
    void cleanupTestCase() { TestSupport::destroyProgram(); }

    void namesProductAndVersion();
    void infoItemOpensItAndOkClosesItWithOk();
};

void InfoTest::namesProductAndVersion()
{
    QCOMPARE(Form_Info->ProductName->text(), QStringLiteral("Fokulantorium"));
    QVERIFY(Form_Info->ProductName->font().bold());
    static const QRegularExpression versionLine(
        QStringLiteral("^Version 3\\.0 {7}\\d\\d\\.\\d\\d\\.\\d{4}$"));
    QVERIFY(versionLine.match(Form_Info->Version->text()).hasMatch());
    QVERIFY(Form_Info->Version->y() > Form_Info->ProductName->y());
    QVERIFY(Form_Info->OKButton->y() >= Form_Info->Panel1->geometry().bottom());
    QVERIFY(!Form_Info->ProgramIcon->pixmap().isNull());
}

void InfoTest::infoItemOpensItAndOkClosesItWithOk()
{
    bool wasShown = false;
    bool okHadFocus = false;
    TestSupport::afterActivation(Form_Info, [&] {
        wasShown = Form_Info->isVisible();
        okHadFocus = Form_Info->focusWidget() == Form_Info->OKButton;
        QTest::mouseClick(Form_Info->OKButton, Qt::LeftButton);
    });
    Form_Prgr->Info2->trigger();
    QVERIFY(wasShown);
    QVERIFY(okHadFocus);
    QVERIFY(!Form_Info->isVisible());
    QCOMPARE(Form_Info->result(), int(QDialog::Accepted));
}

QTEST_MAIN(InfoTest)
#include "test_info.moc"
