var log: string;
procedure Step(n: Integer);
begin
  try
    log := log + 'enter' + IntToStr(n) + ' ';
    if n = 2 then raise Exception.Create('step ' + IntToStr(n));
  finally
    log := log + 'leave' + IntToStr(n) + ' ';
  end;
end;
begin
  log := '';
  try
    Step(1);
    Step(2);
    Step(3);
  except
    on E: Exception do log := log + 'caught(' + E.Message + ')';
  end;
  PrintLn(log);
end.
