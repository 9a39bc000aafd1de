#pragma once

class RecoveryKeeper;
class RecoveryStore;
struct DocumentContext;

// Loads the start-up document and offers, one by one, the unsaved texts that
// copies of the program which ended without closing left behind. Without a
// note named on the command line, the first text taken becomes the start-up
// document in place of the last note; any later one replaces the document
// through the save-changes question. A text declined is set aside. Files
// that could not be read were set aside unasked; the user is told where.
void LoadStartupDocumentOfferingRecovery(DocumentContext& context, RecoveryKeeper& keeper, RecoveryStore& store,
                                         bool commandLineNamedDocument);
