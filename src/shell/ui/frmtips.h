#pragma once

#include <QDialog>

class Program;

/// The tip of the day window (placeholder until it lands).
class frmTips : public QDialog
{
    Q_OBJECT

public:
    explicit frmTips(Program &program, QWidget *parent = nullptr);

private:
    Program &m_program;
};
