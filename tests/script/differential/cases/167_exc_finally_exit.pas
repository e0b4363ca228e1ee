// exit inside try-finally runs the finally part first.
procedure Proc(early: Boolean);
begin
  try
    PrintLn('body');
    if early then Exit;
    PrintLn('body end');
  finally
    PrintLn('finally');
  end;
  PrintLn('after try');
end;

function Func(n: Integer): Integer;
begin
  Result := 0;
  try
    Result := n * 2;
    if n > 0 then Exit;
    Result := -1;
  finally
    PrintLn('func finally, result ' + IntToStr(Result));
  end;
end;

begin
  Proc(True);
  PrintLn('--');
  Proc(False);
  PrintLn('--');
  PrintLn(Func(5));
  PrintLn(Func(0));
end.
