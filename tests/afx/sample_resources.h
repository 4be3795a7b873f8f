// A small module of resources for the framework's tests: one dialog with every kind of control
// the dialog manager knows, an icon group, strings and a version block.
#pragma once

#include <vector>

#include "afxresource.h"

// The sample dialog.
#define IDD_SAMPLE 200
#define IDC_NAME 100           // single-line edit, tab stop
#define IDC_COUNT 101          // single-line ES_NUMBER edit, tab stop
#define IDC_LOG 102            // multi-line read-only edit, tab stop
#define IDC_DISABLED 103       // disabled edit with WS_TABSTOP
#define IDC_NOTE 104           // label
#define IDC_APPLY 105          // push button, tab stop
#define IDI_SAMPLE 300         // an icon directory with one entry
#define IDI_SAMPLE_CURSOR 301  // a cursor's directory where an icon's belongs
#define IDS_SAMPLE_GREETING 400
#define IDS_NOT_THERE 401

// The module; options change what it holds.
struct SampleModuleOptions {
  const char* appTitle = nullptr;          // AFX_IDS_APP_TITLE, or none
  const char* originalFilename = nullptr;  // the version block's OriginalFilename, or none
};
const AFX_RESOURCE_MODULE& SampleModule(const SampleModuleOptions& options = {});

// Registers the sample module for one scope and puts the previous one back.
class ScopedSampleModule {
 public:
  explicit ScopedSampleModule(const SampleModuleOptions& options = {});
  ~ScopedSampleModule();
  ScopedSampleModule(const ScopedSampleModule&) = delete;
  ScopedSampleModule& operator=(const ScopedSampleModule&) = delete;

 private:
  const AFX_RESOURCE_MODULE* m_previous;
};
