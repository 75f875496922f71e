#include "loader/dependency_walk.h"

#include <deque>
#include <set>

namespace tovrel::loader {
namespace {

struct Pending {
  std::vector<std::string> imports;
  std::vector<std::wstring> chain;
};

class Walk {
 public:
  Walk(const std::wstring& componentName, std::uint16_t machine, const SearchOrder& order, ImageFiles& files)
      : machine_(machine), order_(order), files_(files) {
    // The component is loaded already when its imports are: an import of its name is it.
    seen_.insert(FoldName(componentName.substr(componentName.find_last_of(L"\\/") + 1)));
  }

  void Run(Pending start, std::vector<DependencyFinding>& findings) {
    std::deque<Pending> queue{std::move(start)};
    while (!queue.empty()) {
      const Pending next = std::move(queue.front());
      queue.pop_front();
      for (const std::string& import : next.imports) {
        const std::wstring name = WidenName(import);
        if (!seen_.insert(FoldName(name)).second) continue;
        std::vector<std::wstring> chain = next.chain;
        chain.push_back(name);
        if (read_ >= kMaxWalkedImages) {
          report_.incomplete = true;
          continue;
        }
        // The loader passes over a DLL built for another machine and searches on; a file it
        // cannot read, or one that is no program, ends its search.
        std::wstring otherMachineAt;
        std::optional<PeImage> image;
        bool unreadable = false;
        auto usable = [&](const std::wstring& path) {
          if (!files_.Exists(path)) return false;
          ++read_;
          const auto bytes = files_.Read(path);
          if (!bytes) {
            unreadable = true;
            return true;
          }
          image = ReadPeImage(*bytes);
          if (image->IsProgram() && image->machine != machine_) {
            if (otherMachineAt.empty()) otherMachineAt = path;
            return false;
          }
          return true;
        };
        const DllLocation found = LocateDll(name, order_, usable);
        if (found.source == DllSource::kApiSet || found.source == DllSource::kKnownDll) continue;
        if (found.source == DllSource::kMissing && !otherMachineAt.empty())
          findings.push_back({DependencyFault::kWrongMachine, std::move(chain), otherMachineAt});
        else if (found.source == DllSource::kMissing)
          findings.push_back({DependencyFault::kMissing, std::move(chain), {}});
        else if (unreadable)
          findings.push_back({DependencyFault::kUnreadable, std::move(chain), found.path});
        else if (!image->IsProgram())
          findings.push_back({DependencyFault::kNotProgram, std::move(chain), found.path});
        else
          queue.push_back({std::move(image->imports), std::move(chain)});
      }
    }
  }

  DependencyReport& report() { return report_; }

 private:
  std::uint16_t machine_;
  const SearchOrder& order_;
  ImageFiles& files_;
  std::set<std::wstring> seen_;
  std::size_t read_ = 0;
  DependencyReport report_;
};

}  // namespace

DependencyReport WalkDependencies(const std::wstring& componentName, const PeImage& component,
                                  const SearchOrder& order, ImageFiles& files) {
  Walk walk(componentName, component.machine, order, files);
  walk.Run({component.imports, {componentName}}, walk.report().errors);
  walk.Run({component.delayImports, {componentName}}, walk.report().warnings);
  return std::move(walk.report());
}

std::wstring ChainText(const std::vector<std::wstring>& chain) {
  std::wstring text;
  for (const std::wstring& link : chain) text += (text.empty() ? L"" : L" -> ") + link;
  return text;
}

}  // namespace tovrel::loader
