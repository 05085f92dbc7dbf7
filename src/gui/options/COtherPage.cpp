#include "gui/options/COtherPage.h"

#include "core/options/COptionsValues.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTimer>

COtherPage::COtherPage(COptionsValues& values, IDialogs& dialogs, QWidget* parent)
    : COptionsPage(values, dialogs, parent) {
    m_clock =
        Place(new QCheckBox(tr("Synchronize computer clock with internet atomic clock"), this), 6,
              4, 215, 10, "clockSync");
    m_clockNote = Place(new QLabel(this), 17, 15, 204, 17, "clockNote");
    m_clockNote->setWordWrap(true);
    m_clockNote->setForegroundRole(QPalette::PlaceholderText);

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(Units().Rect(1, 33, 222, 48));
    m_weather = Place(new QCheckBox(tr("Weather"), this), 6, 37, 42, 10, "weather");
    m_usa = Place(new QRadioButton(tr("USA"), this), 52, 37, 30, 10, "usa");
    m_world = Place(new QRadioButton(tr("World"), this), 86, 37, 36, 10, "world");
    m_centigrade = Place(new QCheckBox(tr("Centigrade"), this), 130, 37, 60, 10, "centigrade");
    m_countryLabel = Place(new QLabel(tr("Country"), this), 8, 53, 28, 8, "countryLabel");
    m_country = Place(new QLineEdit(this), 36, 51, 50, 12, "country");
    m_stateLabel = Place(new QLabel(tr("State"), this), 90, 53, 20, 8, "stateLabel");
    m_state = Place(new QLineEdit(this), 110, 51, 30, 12, "state");
    m_cityLabel = Place(new QLabel(tr("City"), this), 144, 53, 16, 8, "cityLabel");
    m_city = Place(new QLineEdit(this), 160, 51, 58, 12, "city");
    m_zipLabel = Place(new QLabel(tr("Zip Code"), this), 8, 53, 32, 8, "zipLabel");
    m_zip = Place(new QLineEdit(this), 42, 51, 50, 12, "zipCode");
    m_sourceLabel = Place(new QLabel(tr("Weather service"), this), 8, 68, 56, 8, "sourceLabel");
    m_source = Place(new QComboBox(this), 66, 66, 80, 12, "weatherSource");
    m_source->addItem(tr("Open-Meteo"), QStringLiteral("open-meteo"));
    m_source->addItem(tr("Classic page"), QStringLiteral("classic"));
    m_sourceNote =
        Place(new QLabel(tr("Classic: no server set"), this), 150, 68, 70, 8, "weatherSourceNote");
    m_sourceNote->setForegroundRole(QPalette::PlaceholderText);
    m_sourceNote->setToolTip(tr("The classic weather page needs a server: name one as "
                                "classic_weather_server in jotterly.conf beside Note.Dat."));
    if (!values.classicServerSet) {
        auto* items = qobject_cast<QStandardItemModel*>(m_source->model());
        if (items) items->item(1)->setEnabled(false);
    }

    m_autostart =
        Place(new QCheckBox(tr("Start Jotterly when I log in"), this), 6, 85, 108, 10, "autostart");
    Place(new QLabel(tr("Daily backups to keep"), this), 114, 87, 74, 8, "backupsLabel");
    m_backups = Place(new QSpinBox(this), 192, 85, 30, 12, "backupKeep");
    m_backups->setRange(CSideSettings::kMinBackupKeep, CSideSettings::kMaxBackupKeep);
    m_notifications =
        Place(new QCheckBox(tr("Desktop notices when a note rings (always if no sound)"), this), 6,
              97, 210, 10, "notifications",
              "Without a sound device a ringing note is always told by a desktop notice");
    Place(new QLabel(tr("Sync folder"), this), 6, 111, 38, 8, "syncFolderLabel");
    m_syncFolder = Place(new QLineEdit(this), 44, 109, 142, 12, "syncFolder",
                         "Every note is kept there as a calendar file, for a sync tool to carry "
                         "to your other computers; empty: off");
    m_syncFolder->setPlaceholderText(tr("off"));
    m_syncFolder->setClearButtonEnabled(true);
    auto* choose = Place(new QPushButton(tr("Choose..."), this), 188, 109, 34, 12, "syncChoose");
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, tr("Sync Folder"),
                                                                 m_syncFolder->text().trimmed());
        if (!folder.isEmpty()) m_syncFolder->setText(folder);
    });

    auto* place = new QButtonGroup(this);
    place->addButton(m_usa);
    place->addButton(m_world);
    m_clock->setChecked(values.clockSync && values.canSetClock);
    m_clock->setEnabled(values.canSetClock);
    UpdateClockNote();
    if (values.clockStatus) {
        // The measurement ends in the background, usually within a second.
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, &COtherPage::UpdateClockNote);
        poll->start(250);
    }
    m_weather->setChecked(values.weatherEnabled);
    (values.zipCode.empty() ? m_world : m_usa)->setChecked(true);
    m_centigrade->setChecked(values.centigrade);
    m_country->setText(QString::fromStdString(values.country));
    m_state->setText(QString::fromStdString(values.state));
    m_city->setText(QString::fromStdString(values.city));
    m_zip->setText(QString::fromStdString(values.zipCode));
    m_source->setCurrentIndex(values.weatherSource == "classic" ? 1 : 0);
    m_autostart->setChecked(values.autostart);
    m_notifications->setChecked(values.desktopNotifications);
    m_backups->setValue(values.backupKeep);
    m_syncFolder->setText(QString::fromStdString(values.syncFolder));
    UpdateWeather();

    connect(m_weather, &QCheckBox::toggled, this, &COtherPage::UpdateWeather);
    connect(place, &QButtonGroup::buttonClicked, this, &COtherPage::UpdateWeather);
}

void COtherPage::UpdateClockNote() {
    QString text;
    if (m_values.clockStatus && isVisible()) {
        const std::string status = m_values.clockStatus();
        text = status.empty() ? tr("Asking the time server...") : QString::fromStdString(status);
    }
    if (!m_values.canSetClock)
        text += (text.isEmpty() ? "" : " ") +
                tr("The desktop's own time service should set the clock.");
    if (m_clockNote->text() != text) m_clockNote->setText(text);
    m_clockNote->setVisible(!text.isEmpty());
}

void COtherPage::UpdateWeather() {
    const bool on = m_weather->isChecked(), usa = on && m_usa->isChecked();
    const bool world = on && !m_usa->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_usa, m_world, m_centigrade, m_sourceLabel, m_source})
        w->setVisible(on);
    m_sourceNote->setVisible(on && !m_values.classicServerSet);
    for (QWidget* w : std::initializer_list<QWidget*>{m_countryLabel, m_country, m_stateLabel,
                                                      m_state, m_cityLabel, m_city})
        w->setVisible(world);
    m_zipLabel->setVisible(usa);
    m_zip->setVisible(usa);
}

void COtherPage::Store() {
    m_values.clockSync = m_clock->isChecked();
    m_values.weatherEnabled = m_weather->isChecked();
    m_values.centigrade = m_centigrade->isChecked();
    m_values.country = m_country->text().trimmed().toStdString();
    m_values.state = m_state->text().trimmed().toStdString();
    m_values.city = m_city->text().trimmed().toStdString();
    // A zip code left behind the "World" choice would still name the place.
    m_values.zipCode = m_usa->isChecked() ? m_zip->text().trimmed().toStdString() : std::string();
    m_values.weatherSource = m_source->currentData().toString().toStdString();
    m_values.autostart = m_autostart->isChecked();
    m_values.desktopNotifications = m_notifications->isChecked();
    m_values.backupKeep = m_backups->value();
    m_values.syncFolder = m_syncFolder->text().trimmed().toStdString();
}
