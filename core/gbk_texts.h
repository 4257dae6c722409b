#pragma once

// The program's fixed texts, as code page 936 bytes regardless of the encoding of this source file.
namespace vx::gbk {

// 开始搬运第
inline constexpr char kTypeHeaderStart[] = "\xBF\xAA\xCA\xBC\xB0\xE1\xD4\xCB\xB5\xDA";
// 个周边：+ one space
inline constexpr char kTypeHeaderMiddle[] = "\xB8\xF6\xD6\xDC\xB1\xDF\xA3\xBA ";
// one space + 搬运失败
inline constexpr char kFailureSuffix[] = " \xB0\xE1\xD4\xCB\xCA\xA7\xB0\xDC";
// 搬运成功 + one space
inline constexpr char kSuccessSummaryStart[] = "\xB0\xE1\xD4\xCB\xB3\xC9\xB9\xA6 ";
// 搬运失败 + one space
inline constexpr char kFailureSummaryStart[] = "\xB0\xE1\xD4\xCB\xCA\xA7\xB0\xDC ";
// one space + 个文件
inline constexpr char kSummaryEnd[] = " \xB8\xF6\xCE\xC4\xBC\xFE";
// 操作完成！
inline constexpr char kRunComplete[] = "\xB2\xD9\xD7\xF7\xCD\xEA\xB3\xC9\xA3\xA1";

}  // namespace vx::gbk
