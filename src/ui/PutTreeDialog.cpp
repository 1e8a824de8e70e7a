#include "ui/PutTreeDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mw {

PutTreeDialog::PutTreeDialog() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmAddIn"));
    setWindowTitle(QStringLiteral("Put tree.klz"));
    auto* box = new QVBoxLayout(this);
    box->addWidget(new QLabel(QStringLiteral("Make which collisions visible?")));
    const char* captions[] = {"simple cube", "rotation cube", "rotation cube 2", "cylinder", "sphere", "all"};
    for (int i = 0; i < 6; ++i) {
        m_options[i] = new QRadioButton(QString::fromLatin1(captions[i]));
        m_options[i]->setObjectName(QStringLiteral("PutTreeOption_%1").arg(i));
        box->addWidget(m_options[i]);
    }
    m_options[0]->setChecked(true);
    m_useSaved = new QCheckBox(QStringLiteral("use saved scene2.bin"));
    m_useSaved->setObjectName(QStringLiteral("PutTreeUseSaved"));
    box->addWidget(m_useSaved);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("PutTreeOK"));
    auto* cancel = new QPushButton(QStringLiteral("cancel"));
    cancel->setObjectName(QStringLiteral("PutTreeCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    box->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        hide();
        emit accepted();
    });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

int PutTreeDialog::chosenKind() const
{
    for (int i = 0; i < 6; ++i)
        if (m_options[i]->isChecked())
            return i;
    return 0;
}

bool PutTreeDialog::useSavedScene() const { return m_useSaved->isChecked(); }

} // namespace mw
