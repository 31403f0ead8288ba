#pragma once

#include "cataloguebuilder.h"

class Program;

/// The catalogue builder's progress dialog: the prompt dialog with its progress bar from 0 to the
/// number of photos, the caption "Categorizing Photo i of n" centred, no button, the bold centred
/// read-only message of the run (first-run wording or not), shown modeless above all windows and
/// unloaded at the end. A dialog closed by the user meanwhile is left closed.
class MsgBoxBuilderProgress : public BuilderProgress
{
public:
    explicit MsgBoxBuilderProgress(Program &program);

    void begin(int count, bool firstCatalogue) override;
    void advance(int i, int n) override;
    void end() override;

private:
    void centreCaption() const;

    Program &m_program;
    bool m_shown = false;
};
