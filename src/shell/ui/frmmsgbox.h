#pragma once

#include <QDialog>

class Program;

/// The prompt dialog (placeholder until it lands).
class frmMsgBox : public QDialog
{
    Q_OBJECT

public:
    explicit frmMsgBox(Program &program, QWidget *parent = nullptr);

private:
    Program &m_program;
};
