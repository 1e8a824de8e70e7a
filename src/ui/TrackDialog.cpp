#include "ui/TrackDialog.h"

#include "ui/QtText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/tracks/Tracks.h"
#include "foundation/seams/FileChooser.h"
#include "mission/Mission.h"
#include "ui/CommandRunner.h"

namespace mw {

namespace {

QLineEdit* box(const char* name, bool readOnly = false)
{
    auto* b = new QLineEdit;
    b->setObjectName(QString::fromLatin1(name));
    b->setReadOnly(readOnly);
    return b;
}

QProgressBar* bar(const char* name)
{
    auto* b = new QProgressBar;
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QPushButton* button(const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromLatin1(caption));
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* progressLabel(const char* name)
{
    auto* l = new QLabel(QStringLiteral("Progress"));
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// A command's progress in its area: the bar and the counter follow every step; pending events are
// let through at most every 50 ms.
class AreaProgress final : public Progress {
public:
    AreaProgress(QProgressBar* bar, QLineEdit* counter) : m_bar(bar), m_counter(counter) {}
    void start(int maximum) override
    {
        m_bar->setRange(0, maximum);
        m_bar->setValue(0);
        m_sinceYield.start();
    }
    void step(int value, std::string_view text) override
    {
        m_bar->setValue(value);
        m_counter->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        if (m_sinceYield.elapsed() >= 50) {
            QCoreApplication::processEvents();
            m_sinceYield.restart();
        }
    }
    void finish() override {}

private:
    QProgressBar* m_bar;
    QLineEdit* m_counter;
    QElapsedTimer m_sinceYield;
};

} // namespace

TrackDialog::TrackDialog(Mission& mission, Prompter& prompter, FileChooser& files, CommandRunner& runner)
    : QWidget(nullptr, Qt::Window), m_mission(mission), m_prompter(prompter), m_files(files), m_runner(runner)
{
    setObjectName(QStringLiteral("trackform"));
    setWindowTitle(QStringLiteral("QRA Create Circuit"));
    m_source = box("Text1", true);
    m_destination = box("Text2", true);
    m_rows = box("Text3", true);
    m_points = box("Text4", true);
    m_markers = box("Text6", true);
    m_transformBar = bar("ProgressBar2");
    m_putBar = bar("ProgressBar1");
    m_reverseBar = bar("ProgressBar3");
    for (QLineEdit* counter : {m_rows, m_points, m_markers})
        counter->setMaximumWidth(70);
    m_progressLabels = {progressLabel("TransformProgressLabel"), progressLabel("PutProgressLabel"),
                        progressLabel("ReverseProgressLabel")};

    auto* transform = new QGroupBox(QStringLiteral("Transform TrackPoint"));
    auto* t = new QGridLayout(transform);
    auto* browseSource = button("BrowseSource", "Browse");
    auto* run1 = button("TransformButton", "Transform");
    t->addWidget(new QLabel(QStringLiteral("Source file")), 0, 0);
    t->addWidget(m_source, 0, 1, 1, 2);
    t->addWidget(browseSource, 0, 3);
    t->addWidget(m_progressLabels[0], 1, 0);
    t->addWidget(m_transformBar, 1, 1);
    t->addWidget(m_rows, 1, 2);
    t->addWidget(run1, 1, 3);

    auto* insert = new QGroupBox(QStringLiteral("Insert into check.bin"));
    auto* i = new QGridLayout(insert);
    auto* browseDestination = button("BrowseDestination", "Browse");
    auto* run2 = button("PutTrackButton", "Put Track");
    i->addWidget(new QLabel(QStringLiteral("Destination file")), 0, 0);
    i->addWidget(m_destination, 0, 1, 1, 2);
    i->addWidget(browseDestination, 0, 3);
    i->addWidget(m_progressLabels[1], 1, 0);
    i->addWidget(m_putBar, 1, 1);
    i->addWidget(m_points, 1, 2);
    i->addWidget(run2, 1, 3);

    auto* reverse = new QGroupBox(QStringLiteral("Reverse: scene2.rev"));
    auto* r = new QGridLayout(reverse);
    auto* run3 = button("CreateButton", "Create");
    r->addWidget(m_progressLabels[2], 0, 0);
    r->addWidget(m_reverseBar, 0, 1);
    r->addWidget(m_markers, 0, 2);
    r->addWidget(run3, 0, 3);

    auto* close = button("CloseButton", "close");
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(transform);
    outer->addWidget(insert);
    outer->addWidget(reverse);
    outer->addLayout(bottom);
    resize(560, sizeHint().height());

    connect(browseSource, &QPushButton::clicked, this, [this] { browse(true); });
    connect(browseDestination, &QPushButton::clicked, this, [this] { browse(false); });
    connect(run1, &QPushButton::clicked, this, [this] {
        run({m_progressLabels[0], m_transformBar, m_rows}, [this](Progress& progress) {
            return transformTrack(m_mission, m_sourcePath, m_prompter, progress);
        });
    });
    connect(run2, &QPushButton::clicked, this, [this] {
        // Put Track shows its progress label and bar while it runs.
        const Area area{m_progressLabels[1], m_putBar, m_points};
        area.label->show();
        area.bar->show();
        run(area, [this](Progress& progress) {
            return putTrack(m_mission, m_sourcePath, m_destinationPath, m_prompter, progress);
        });
        area.label->hide();
        area.bar->hide();
    });
    connect(run3, &QPushButton::clicked, this, [this] {
        run({m_progressLabels[2], m_reverseBar, m_markers}, [this](Progress& progress) {
            return createReversedCopy(m_mission, m_sourcePath, m_prompter, progress);
        });
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void TrackDialog::prepare()
{
    m_source->setText(fromPath(m_sourcePath));
    m_destination->setText(fromPath(m_destinationPath));
    for (QLineEdit* counter : {m_rows, m_points, m_markers})
        counter->clear();
    for (QProgressBar* b : {m_transformBar, m_putBar, m_reverseBar})
        b->reset();
    for (QLabel* label : m_progressLabels)
        label->hide();
    show();
    raise();
}

void TrackDialog::browse(bool source)
{
    const auto path = m_files.openFile(source ? trackmsg::SourceFilter : trackmsg::DestinationFilter);
    if (!path)
        return;
    (source ? m_sourcePath : m_destinationPath) = *path;
    (source ? m_source : m_destination)->setText(fromPath(*path));
}

void TrackDialog::run(const Area& area, const std::function<Outcome(Progress&)>& command)
{
    m_runner.run([&] {
        area.bar->reset();
        AreaProgress progress(area.bar, area.counter);
        const Outcome outcome = command(progress);
        if (!outcome.done())
            area.bar->reset();
        return CommandResult(outcome);
    });
}

} // namespace mw
