#pragma once
/// The two steps that tie a composition to an order's correction folders in the work folder:
/// the folder CORRECT holds the pictures corrected in this pass, CORRECT_BK every picture as
/// last used, and COMPOSITION_INFO the composition information file.

#include <string>

inline constexpr wchar_t kWorkFolderName[] = L"TEMP";
inline constexpr wchar_t kCompositionInfoFolderName[] = L"COMPOSITION_INFO";
inline constexpr wchar_t kCorrectFolderName[] = L"CORRECT";
inline constexpr wchar_t kCorrectBackupFolderName[] = L"CORRECT_BK";
/// Pattern of the corrected pictures.
inline constexpr wchar_t kCorrectedImagePattern[] = L"IMG-*.*";

/// Each step works on the work folder `workFolder` (the program folder + "TEMP" in use).

/// Before the composition information file is loaded: points the "FILENAME" of every picture
/// record at the full path of the first file (in name order) of CORRECT that matches it as a
/// name pattern, else of CORRECT_BK; a picture found in neither keeps its text. The file is
/// rewritten once, and only when a name changed; a file that cannot be rewritten is logged,
/// left as it was, and the result is false.
[[nodiscard]] bool ResolvePictureFiles(const std::wstring& workFolder);

/// After a successful composition: for every corrected picture of CORRECT ("IMG-*.*"),
/// deletes the backups of the same picture from CORRECT_BK whatever their extension
/// (IMG-0001.JPG removes IMG-0001.TIF but not IMG-00010.JPG), then copies CORRECT into
/// CORRECT_BK. Failures are logged; false when CORRECT_BK is not the whole merge.
[[nodiscard]] bool MergeCorrections(const std::wstring& workFolder);
