// A drive list the test decides: its drives, and which of them have no medium.
#pragma once
#include <set>
#include <vector>

#include "dirtree/drive_list.h"

namespace testing_support {

class FakeDrives : public dirtree::DriveList {
 public:
  std::vector<dirtree::Drive> list;
  std::set<QString> notReady;  // roots
  std::vector<dirtree::Drive> Drives() override { return list; }
  bool IsReady(const dirtree::Drive& drive) override { return !notReady.count(drive.root); }
};

}  // namespace testing_support
