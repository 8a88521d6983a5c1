#pragma once

#include <QtGlobal>

class PageCanvas;
class Session;

// Draws the record in session.Tables through the blocks loaded by
// LoadPrintTemplate, with fonts, column positions, alignment and page
// breaks. requestedPage is the page to stop after (0 for the last page, -1
// for paper, where every page is drawn); it comes back as the last page
// reached. False on a failure ("Print error: " shown); a faulty block shows
// its own message and ends the drawing early, which still counts as done.
bool RenderPrintTemplate(Session& session, PageCanvas& canvas, double zoom, qint16& requestedPage);

// Pages start one empty line down on paper; this puts the position there.
void StartPaperPage(PageCanvas& canvas);
