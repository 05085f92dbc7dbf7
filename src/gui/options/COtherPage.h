#pragma once

#include "gui/options/COptionsPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// "Other": clock synchronisation, the weather place, unit and source, and how the program
// lives on the desktop (start at login, notifications, daily backups, the sync folder).
class COtherPage : public COptionsPage {
    Q_OBJECT
public:
    COtherPage(COptionsValues& values, IDialogs& dialogs, QWidget* parent);

    void Store() override;

private:
    void UpdateWeather();
    // The clock's measured offset under the box, and what to do about it.
    void UpdateClockNote();

    QCheckBox* m_clock;
    QLabel* m_clockNote;
    QCheckBox* m_weather;
    QRadioButton* m_usa;
    QRadioButton* m_world;
    QCheckBox* m_centigrade;
    QLabel* m_countryLabel;
    QLabel* m_stateLabel;
    QLabel* m_cityLabel;
    QLabel* m_zipLabel;
    QLineEdit* m_country;
    QLineEdit* m_state;
    QLineEdit* m_city;
    QLineEdit* m_zip;
    QLabel* m_sourceLabel;
    QComboBox* m_source;
    QLabel* m_sourceNote;
    QCheckBox* m_autostart;
    QCheckBox* m_notifications;
    QSpinBox* m_backups;
    QLineEdit* m_syncFolder;
};
