// SPDX-License-Identifier: GPL-3.0-or-later
// The player-name dialog.
#pragma once

#include "common/ModalForm.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Most characters a name may have.
constexpr int PlayerNameLength = 12;

class TForm_Name : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Name(QWidget *parent = nullptr);

    QLabel *Label_Name_Aufforderung = nullptr;
    QLineEdit *Edit_Namen = nullptr;
    QPushButton *But_ok = nullptr;

    void Edit_NamenChange(const QString &text);
    // Returns true when the key was used.
    bool Edit_NamenKeyPress(int key);

protected:
    void FormActivate() override;
    void FormClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
};

extern TForm_Name *Form_Name;

// Shows the name dialog while no name has been entered.
void RequestPlayerName();
