// solmar --pdf FILE [--pages A-B] [--paper a4|letter]: the book's pages as printed, written
// to a PDF file without a window.
#pragma once

// Exit codes: 0 written; 1 the file cannot be written (or the pages could not be drawn);
// 2 a bad --pages or --paper value. Messages go to standard error.
int RunPdf(int argc, char** argv, const char* file, const char* pages, const char* paper);
