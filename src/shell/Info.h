// SPDX-License-Identifier: GPL-3.0-or-later
// The about window.
#pragma once

#include "Release.h"
#include "common/ModalForm.h"

class QFrame;
class QLabel;
class QPushButton;

inline const QString ProductNameText = QStringLiteral("Fokulantorium");
inline const QString VersionText =
    QStringLiteral("Version " MENTARO_VERSION "       " MENTARO_RELEASE_DATE);

class TForm_Info : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Info(QWidget *parent = nullptr);

    QFrame *Panel1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QPushButton *OKButton = nullptr;

    void OKButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void createPanel();
};

extern TForm_Info *Form_Info;
