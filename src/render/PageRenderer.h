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
// silent: nothing is shown, for a drawing that only measures.
bool RenderPrintTemplate(Session& session, PageCanvas& canvas, double zoom, qint16& requestedPage,
                         bool silent = false);

// Draws the record on paper from the canvas's position onwards. keepWhole:
// a record that would run onto the next page but fits on one page starts
// on a new page instead; one taller than a page breaks by height.
bool RenderPaperRecord(Session& session, PageCanvas& canvas, bool keepWhole);

// Pages start one empty line down on paper; this puts the position there.
void StartPaperPage(PageCanvas& canvas);
