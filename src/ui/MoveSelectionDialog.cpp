#include "ui/MoveSelectionDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/seams/Prompter.h"
#include "foundation/text/NumericText.h"

namespace mw {

MoveSelectionDialog::MoveSelectionDialog(Prompter& prompter, QWidget* parent) : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("MoveSelection"));
    setWindowTitle(QStringLiteral("Move Selection"));
    auto* grid = new QGridLayout(this);
    const char* axes[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        m_fields[i] = new QLineEdit(QStringLiteral("0"));
        m_fields[i]->setObjectName(QStringLiteral("Move%1").arg(QLatin1String(axes[i])));
        grid->addWidget(new QLabel(QString::fromLatin1(axes[i])), i, 0);
        grid->addWidget(m_fields[i], i, 1);
        grid->addWidget(new QLabel(QStringLiteral("m")), i, 2);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("MoveOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("MoveCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 3);
    connect(ok, &QPushButton::clicked, this, &MoveSelectionDialog::ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void MoveSelectionDialog::ok()
{
    const char* axes[] = {"X", "Y", "Z"};
    std::array<float, 3> offset{};
    for (int i = 0; i < 3; ++i) {
        const auto value = parseFloat32(m_fields[i]->text().toStdString());
        if (!value) {
            // Titled by the field, as the editor's other "Put numeric" messages are.
            m_prompter.message("Put numeric", std::string("Move ") + axes[i]);
            m_fields[i]->setFocus();
            return;
        }
        offset[i] = *value;
    }
    accept();
    emit moveBy({offset[0], offset[1], offset[2]});
}

} // namespace mw
