#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QTimer;

/// The splash window: logo, platform, version, the vendor's web address and the rights notice.
/// It closes itself when its timer tmrSplash fires (5 seconds after loading), when a key is
/// pressed while it has focus, or when its panel SSPanel1 is clicked.
class frmSplash : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kDefaultIntervalMs = 5000;

    explicit frmSplash(QWidget *parent = nullptr);

    /// Restarts tmrSplash with another interval (tests use a short one).
    void setSplashInterval(int milliseconds);
    int splashInterval() const;

    QLabel *lblVersion() const { return m_lblVersion; }
    QLabel *lblPlatform() const { return m_lblPlatform; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void unloadMe();

    QFrame *m_SSPanel1 = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblPlatform = nullptr;
    QTimer *m_tmrSplash = nullptr;
};
