#pragma once
// Internals of the soil-name dictionary that tests reach into.
#include <functional>
#include <string>
#include <string_view>

#include "soil_dictionary/dictionary_cache.h"

namespace lodemark::detail {

// code_for_soil_name, calling `before_register_replace` (when set) after the
// register's work file has been written and flushed and before it takes the
// register's place; whatever it throws is handled like a failed rename.
void code_for_soil_name(std::u32string_view dname, std::u32string& NewCode,
                      const std::function<void()>& before_register_replace);
void code_for_soil_name(std::u32string_view dname, std::u32string& NewCode,
                      const std::function<void()>& before_register_replace, SoilDictionaryCache& cache);

}  // namespace lodemark::detail
