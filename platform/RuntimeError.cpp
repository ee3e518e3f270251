#include "platform/RuntimeError.h"

namespace platform {

RuntimeError::RuntimeError(int32_t number, std::string description, std::string source)
    : std::runtime_error(description),
      mlngNumber(number),
      mstrDescription(std::move(description)),
      mstrSource(std::move(source)) {}

std::string ErrorDescription(int32_t number) {
  switch (number) {
    case errInvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
    case errOverflow: return "オーバーフローしました。";
    case errOutOfMemory: return "メモリが不足しています。";
    case errSubscriptRange: return "インデックスが有効範囲にありません。";
    case errDivisionByZero: return "0 で除算しました。";
    case errTypeMismatch: return "型が一致しません。";
    case errDllLoad: return "DLL の読み込み中にエラーが発生しました。";
    case errBadFileName: return "ファイル名または番号が不正です。";
    case errFileNotFound: return "ファイルが見つかりません。";
    case errPathFileAccess: return "パス/ファイル アクセス エラーです。";
    case errInvalidPicture: return "ピクチャが不正です。";
    case errAlreadyLoaded: return "オブジェクトは既に読み込まれています。";
    case errCannotCreateObject: return "ActiveX コンポーネントはオブジェクトを作成できません。";
    case errNotSupported: return "オブジェクトは、このプロパティまたはメソッドをサポートしていません。";
    case errAutomation: return "オートメーション エラーです。";
    case errWrongArgumentCount: return "引数の数が一致していません。または不正なプロパティを指定しています。";
    case errDllEntryNotFound: return "DLL のエントリ ポイントが見つかりません。";
    case errObjectNotSet: return "オブジェクト変数または With ブロック変数が設定されていません。";
    default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
  }
}

const std::string& DefaultErrorSource() {
  static const std::string source = "Kelvora";
  return source;
}

void RaiseError(int32_t number, const std::string& source) {
  throw RuntimeError(number, ErrorDescription(number), source);
}

}  // namespace platform
