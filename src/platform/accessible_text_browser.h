#pragma once

// Qt tells screen readers a QTextBrowser is a label: they speak its name and
// never its text. Installed once, this makes every text browser a read-only
// document whose text, caret, selection and lines they can read. Call before
// the first text browser is asked about.
void ReadTextBrowsersAsDocuments();
