// The error classes and texts of the built-in routines, and of run-time errors a handler catches:
// a constant index out of bounds, Round beyond the Integer range, mod by zero, the text of a nil
// exception object (from a global, after the text printed before it, a local and a var parameter).
var s: string;
  i, z: Integer;
  x: Float;
  a: array[1..3] of Integer;
  kept: Exception;

procedure FromLocal;
var mine: Exception;
begin
  try PrintLn(mine.ClassName); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
end;

procedure ThroughParameter(var held: Exception);
begin
  PrintLn(held.ClassName + ': ' + held.Message);
end;

begin
  s := 'abc';
  try PrintLn(CharAt(s, 4)); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try SetCharAt(s, 0, 'x'); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToInt('я1')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToFloat('1,5')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToDate('31.02.2024')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToDate('1.2.3.4')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToDate('1.2.10000')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToDate('')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToTime('24:00')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToTime('7:08.5')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(StrToDateTime('1.1.2024 x')); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(IncMonth(EncodeDate(9999, 12, 1), 1)); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(IncMonth(EncodeDate(1, 1, 1), -1)); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(DateToStr(1e10)); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(EncodeTime(24, 0, 0, 0)); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(RadToDeg(1e308)); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try PrintLn(Hypot(1.5e308, 1.5e308)); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  try a[4] := 1; except on E: Exception do PrintLn(E.Message); end;
  x := 1e300;
  try i := Round(x); except on E: Exception do PrintLn(E.Message); end;
  try i := 1 mod z; except on E: Exception do PrintLn(E.Message); end;
  try Print('kept: '); PrintLn(kept.Message); except on E: Exception do PrintLn(E.ClassName + ': ' + E.Message); end;
  FromLocal;
  try raise EConvertError.Create('kept'); except on E: Exception do begin kept := E; ThroughParameter(kept); end; end;
end.
