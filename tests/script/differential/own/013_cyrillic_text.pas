// Strings are Windows-1251 inside: one byte a character, Cyrillic letters included. The plain
// case functions change Latin letters only; the plain comparisons go by byte, the Ansi ones by the
// alphabet with Ё after Е; months and days have Russian names; what Windows-1251 lacks becomes
// '?'. Var-parameter edits count characters; Variants, Chars and exception texts print as UTF-8.
var s, t: string;
  v: Variant;
  c: Char;
begin
  PrintLn(Length('яблоко'));
  PrintLn(Copy('трансформатор', 6, 5));
  PrintLn(Pos('форм', 'трансформатор'));
  PrintLn(CharAt('фидер', 2));
  PrintLn(Ord('я'));
  PrintLn(Ord('Ё'));
  PrintLn(Chr(192) + #255);
  PrintLn(Length(Trim('  тп  ')));
  PrintLn(QuotedStr('ток'));
  PrintLn(LastDelimiter('ё', 'ёлка ёж'));
  PrintLn(IsDelimiter('ъь', 'объект', 3));
  PrintLn(UpperCase('линия l1'));
  PrintLn(LowerCase('ЛИНИЯ AB'));
  PrintLn(AnsiUpperCase('линия ёж l1'));
  PrintLn(AnsiLowerCase('ЛИНИЯ ЁЖ L1'));
  PrintLn(CompareText('Я', 'я') <> 0);
  PrintLn(AnsiCompareText('ёЖ', 'ЁЖ'));
  PrintLn(('а' < 'б') and ('я' > 'z'));
  PrintLn((AnsiCompareStr('е', 'ё') < 0) and (AnsiCompareStr('ё', 'ж') < 0));
  PrintLn(CompareStr('ё', 'а') < 0);
  PrintLn(AnsiCompareText('ёлка', 'ЕЛКА') > 0);
  PrintLn(FormatDateTime('mmmm', EncodeDate(2024, 2, 1)));
  PrintLn(FormatDateTime('ddd dddd mmm', EncodeDate(2024, 2, 1)));
  PrintLn(FormatDateTime('dddddd', EncodeDate(2024, 2, 1)));
  PrintLn(Length(FormatDateTime('mmmm', EncodeDate(2024, 9, 1))));
  // ASCII runs of eight bytes and more take another path of the conversion.
  PrintLn('0123456789я' + 'Ж€中');
  s := 'подстанция';
  t := s;
  Delete(s, 1, 3);
  PrintLn(s);
  Insert('под', s, 1);
  PrintLn(s);
  SetCharAt(s, 1, 'П');
  s[2] := 'О';
  PrintLn(s);
  PrintLn(t);
  v := 'ёж';
  c := 'щ';
  PrintLn(v);
  PrintLn(c);
  try
    raise Exception.Create('сбой');
  except
    on E: Exception do PrintLn(IntToStr(Length(E.Message)) + E.Message);
  end;
end.
