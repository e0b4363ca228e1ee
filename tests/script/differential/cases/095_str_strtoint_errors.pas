procedure Attempt(const s: string);
begin
  try
    PrintLn(StrToInt(s));
  except
    on E: Exception do PrintLn('<' + s + '> raised');
  end;
end;

begin
  Attempt('x');
  Attempt('');
  Attempt('12 ');
  Attempt('1.5');
  Attempt('12a');
  Attempt('--1');
  Attempt('42');
end.
