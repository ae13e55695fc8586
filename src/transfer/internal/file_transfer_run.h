// The run over the items of one Start, on the worker thread: dialog, the
// internet session when a network item is active, each active item through
// the path of its protocol with OnFileStart/OnFileDone around it, results
// stored on the items, OnCopyDone, and the end of the dialog. A failing
// item never stops the run; only the cancel flag does.
#pragma once

struct TransferRun;
class UiDispatcher;

void CopyAll(TransferRun& run, UiDispatcher& ui);
