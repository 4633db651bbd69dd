#include "array_parser.hpp"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace nav2_costmap_2d
{

std::vector<std::vector<float>> parseVVF(const std::string & input, std::string & error_return)
{
  std::vector<std::vector<float>> result;

  std::stringstream input_ss(input);
  int depth = 0;
  std::vector<float> current_vector;
  while (!!input_ss && !input_ss.eof()) {
    switch (input_ss.peek()) {
      case EOF:
        break;
      case '[':
        depth++;
        if (depth > 2) {
          error_return = "Array depth greater than 2";
          return result;
        }
        input_ss.get();
        current_vector.clear();
        break;
      case ']':
        depth--;
        if (depth < 0) {
          error_return = "More close ] than open [";
          return result;
        }
        input_ss.get();
        if (depth == 1) {
          result.push_back(current_vector);
        }
        break;
      case ',':
      case ' ':
      case '\t':
        input_ss.get();
        break;
      default:  // Anything else must be part of a number.
        if (depth != 2) {
          std::stringstream err_ss;
          err_ss << "Numbers at depth other than 2. Char was '" << char(input_ss.peek()) << "'.";
          error_return = err_ss.str();
          return result;
        }
        {
          const auto start = input_ss.tellg();
          float value;
          input_ss >> value;
          if (!!input_ss) {
            current_vector.push_back(value);
            break;
          }
          // Upstream ends the loop here and reports the string as
          // unterminated; naming the token that is not a number is clearer
          // and still fails the parse.
          input_ss.clear();
          input_ss.seekg(start);
          std::string token;
          while (input_ss.peek() != EOF && input_ss.peek() != ',' && input_ss.peek() != ']' &&
                 input_ss.peek() != ' ' && input_ss.peek() != '\t') {
            token.push_back(static_cast<char>(input_ss.get()));
          }
          error_return = "Expected a number but found '" + token + "'.";
          return result;
        }
    }
  }

  if (depth != 0) {
    error_return = "Unterminated vector string.";
  } else {
    error_return = "";
  }

  return result;
}

}  // namespace nav2_costmap_2d
