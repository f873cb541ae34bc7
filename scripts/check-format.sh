#!/usr/bin/env bash
# Fails, naming the files, when clang-format (the checked-in .clang-format) would
# change any C++ file of the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r -d '' f; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then bad+=("$f"); fi
done < <(git ls-files -z '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
  echo "clang-format 会改动这些文件（运行 clang-format -i 后再提交）:" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "format: $(git ls-files '*.cpp' '*.h' | wc -l) files as clang-format writes them"
