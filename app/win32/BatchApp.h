#pragma once

// The application object: runs the main dialog modally; the program ends when it closes.
class CBatchApp {
  public:
    // Returns false: there is nothing to run once the dialog has closed.
    bool InitInstance();
};
