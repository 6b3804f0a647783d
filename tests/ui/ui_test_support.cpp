#include "ui_test_support.h"

#include "ui/message.h"
#include "ui/window_manager.h"

bool TProbeWindow::OnMessage(TMessage& m) {
  if (log) log->push_back(GetName() + ":msg:" + m.name);
  return takesMessages;
}

void TProbeWindow::ReleaseCapture() {
  if (TWindowManager* manager = TWindowManager::Get()) manager->RemoveCapture(this);
}
