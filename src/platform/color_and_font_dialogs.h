#pragma once

class QColorDialog;
class QFontDialog;

// The colour and font dialogs of the Options menu, always Qt's own so that
// they offer the same on every desktop.

// No custom colours: their well, its caption and the button that adds to it
// are hidden; the basic colours and the colour picker remain.
void UseWithoutCustomColors(QColorDialog& dialog);

// No effects group: the editor's font never gets underline or strikeout.
void UseWithoutEffects(QFontDialog& dialog);
